#pragma once
// A time limit for a test's waits, counted in GetTickCount's milliseconds: the differences stay right
// when the 32-bit count wraps, as it does every 49.7 days of uptime.

#include <windows.h>

namespace corvane::test {

class CDeadline
{
public:
    explicit CDeadline(DWORD milliseconds) : start_(::GetTickCount()), length_(milliseconds) {}

    bool Passed() const { return Elapsed() >= length_; }
    // What is left of the time, 0 once it has passed.
    DWORD Remaining() const { return Passed() ? 0 : length_ - Elapsed(); }

private:
    DWORD Elapsed() const { return ::GetTickCount() - start_; }

    DWORD start_;
    DWORD length_;
};

} // namespace corvane::test
