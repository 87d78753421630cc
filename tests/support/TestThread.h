#pragma once
// A thread that runs one callable and is joined by its owner: the tests' std::thread, which the win32
// thread model of the compilers that build Corvane does not have.

#include "framework/UniqueHandle.h"

#include <functional>

namespace corvane::test {

class CTestThread
{
public:
    CTestThread() = default;
    explicit CTestThread(std::function<void()> body) { Start(std::move(body)); }
    CTestThread(const CTestThread&) = delete;
    CTestThread& operator=(const CTestThread&) = delete;
    // Joins a thread still running, so that nothing it refers to goes away under it.
    ~CTestThread() { Join(); }

    // Starts the thread; a test that cannot have its thread fails at once.
    void Start(std::function<void()> body);

    // Waits for the thread to end; returns at once when there is none.
    void Join();

private:
    static unsigned __stdcall Entry(void* self);

    std::function<void()> body_;
    CKernelHandle handle_;
};

} // namespace corvane::test
