// The worker thread object: created suspended with one argument, runs once resumed, ends by itself.
#include "framework/WorkerThread.h"

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace corvane;

namespace {

struct Probe
{
    std::atomic<int> calls{0};
    void* seen = nullptr;
};

UINT Record(void* argument)
{
    Probe* probe = static_cast<Probe*>(argument);
    probe->seen = argument;
    ++probe->calls;
    return 42;
}

// A handle of our own, so the thread can be waited for after the object has deleted itself.
CKernelHandle Duplicate(HANDLE thread)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    return CKernelHandle(copy);
}

} // namespace

TEST(CWorkerThread, DoesNotRunBeforeItIsResumed)
{
    Probe probe;
    CWorkerThread* thread = CWorkerThread::CreateSuspended(&Record, &probe);
    ASSERT_NE(nullptr, thread) << "CreateSuspended failed, last error " << ::GetLastError();
    CKernelHandle handle = Duplicate(thread->Handle());
    ASSERT_TRUE(handle.IsValid());

    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(handle.Get(), 200));
    EXPECT_EQ(0, probe.calls.load());

    ASSERT_TRUE(thread->Resume());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(handle.Get(), 5000));
    EXPECT_EQ(1, probe.calls.load());
}

TEST(CWorkerThread, HandsTheProcedureItsArgumentAndEndsWithItsResult)
{
    Probe probe;
    CWorkerThread* thread = CWorkerThread::CreateSuspended(&Record, &probe);
    ASSERT_NE(nullptr, thread);
    CKernelHandle handle = Duplicate(thread->Handle());
    ASSERT_TRUE(thread->Resume());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(handle.Get(), 5000));

    EXPECT_EQ(&probe, probe.seen);
    DWORD exitCode = 0;
    ASSERT_TRUE(::GetExitCodeThread(handle.Get(), &exitCode));
    EXPECT_EQ(42u, exitCode);
}

TEST(CWorkerThread, WithoutAProcedureNothingIsCreated)
{
    ::SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, CWorkerThread::CreateSuspended(nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), ::GetLastError());
}
