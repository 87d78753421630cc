#pragma once
// GoogleTest's Notification over a Win32 event. The library's own is made of std::mutex and
// std::condition_variable, which the win32 thread model of the compilers that build Corvane has not got;
// the build puts this one ahead of every GoogleTest source and test (GTEST_HAS_NOTIFICATION_).

#include <windows.h>

namespace testing::internal {

class Notification
{
public:
    Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { ::CloseHandle(event_); }

    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

} // namespace testing::internal
