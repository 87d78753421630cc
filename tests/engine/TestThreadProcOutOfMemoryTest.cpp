// A worker that runs out of memory at any point still reaches its end phase: the display is told that
// the run has ended.
#include "engine/TestThreadProc.h"

#include "engine/ReportData.h"
#include "res/resource.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace corvane;
using namespace corvane::test;

namespace {
// Allocations left before the armed thread runs out; negative when it is not armed.
thread_local long allocationsLeft = -1;
thread_local long allocationsRefused = 0;
} // namespace

// The program's allocator, with a failure that one thread can arm for itself.
void* operator new(std::size_t size)
{
    if (allocationsLeft == 0)
    {
        ++allocationsRefused;
        throw std::bad_alloc();
    }
    if (allocationsLeft > 0)
        --allocationsLeft;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

CWorkerThread* const kSomeThread = reinterpret_cast<CWorkerThread*>(static_cast<INT_PTR>(0x1000));

struct Outcome
{
    bool idle;
    bool lockFree;
    long refused;
};

Outcome RunOutOfMemoryAfter(long allocations, bool saveReport)
{
    CRecordingSink sink;
    CScratchFolder folder;
    CReportData engine;
    engine.AttachSink(&sink);
    engine.outputFolder = folder.Path();
    engine.verbose = FALSE;
    engine.saveReport = saveReport ? TRUE : FALSE;
    engine.stopEvent.SetEvent(); // a short run: no section, straight to the end
    engine.SetRunning(kSomeThread);

    std::atomic<bool> done{false};
    long refused = 0;
    test::CTestThread worker([&] {
        allocationsLeft = allocations;
        TestThreadProc(&engine);
        refused = allocationsRefused;
        allocationsLeft = -1;
        done = true;
    });
    worker.Join();

    bool lockFree = false;
    test::CTestThread other([&] {
        lockFree = engine.TryLock();
        if (lockFree)
            engine.Unlock();
    });
    other.Join();
    const bool idle = done && engine.runningThread == nullptr && !sink.IsRunning();
    return {idle, lockFree, refused};
}

} // namespace

TEST(TestThreadProcOutOfMemory, EveryPointOfFailureStillEndsTheRunAndReturnsTheDialogToIdle)
{
    for (bool saveReport : {false, true})
    {
        long refusedAtAll = 0;
        for (long allocations = 0; allocations < 120; allocations += 2)
        {
            const Outcome outcome = RunOutOfMemoryAfter(allocations, saveReport);
            EXPECT_TRUE(outcome.idle) << "after " << allocations << " allocations, report " << saveReport;
            EXPECT_TRUE(outcome.lockFree) << "after " << allocations << " allocations, report " << saveReport;
            refusedAtAll += outcome.refused;
        }
        EXPECT_GT(refusedAtAll, 0) << "no allocation of the driver was ever refused";
    }
}
