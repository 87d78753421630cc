#include "tests/support/TestThread.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>

namespace corvane::test {

void CTestThread::Start(std::function<void()> body)
{
    Join();
    body_ = std::move(body);
    // _beginthreadex rather than CreateThread: the bodies use the C runtime.
    const uintptr_t handle = ::_beginthreadex(nullptr, 0, &Entry, this, 0, nullptr);
    if (handle == 0)
    {
        std::fprintf(stderr, "_beginthreadex failed: error %lu\n", ::GetLastError());
        std::abort();
    }
    handle_.Reset(reinterpret_cast<HANDLE>(handle));
}

void CTestThread::Join()
{
    if (!handle_)
        return;
    ::WaitForSingleObject(handle_.Get(), INFINITE);
    handle_.Reset();
}

unsigned __stdcall CTestThread::Entry(void* self)
{
    static_cast<CTestThread*>(self)->body_();
    return 0;
}

} // namespace corvane::test
