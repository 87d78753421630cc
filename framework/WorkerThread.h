#pragma once
// A worker thread that runs one procedure with one argument; created suspended, it deletes itself when
// the thread ends, so nobody waits for it or frees it.

#include "framework/UniqueHandle.h"

namespace corvane {

class CWorkerThread
{
public:
    using Procedure = UINT (*)(void* argument);

    // The thread is created suspended at normal priority with the default stack size; null when it
    // could not be created, with the reason in the last error.
    static CWorkerThread* CreateSuspended(Procedure procedure, void* argument);

    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Lets the thread run. Once resumed the object may be gone as soon as the procedure returns.
    bool Resume();

    // For a thread that was never let run (its Resume failed): ends it before it runs any of the
    // procedure and frees the object.
    void Discard();

    HANDLE Handle() const { return handle_.Get(); }
    DWORD ThreadId() const { return threadId_; }

private:
    CWorkerThread(Procedure procedure, void* argument) : procedure_(procedure), argument_(argument) {}
    ~CWorkerThread() = default;

    static unsigned __stdcall Entry(void* self);

    Procedure procedure_;
    void* argument_;
    CKernelHandle handle_;
    DWORD threadId_ = 0;
};

// Runs the procedure on a thread of its own and waits for its end, handling meanwhile whatever other
// threads send to this thread's windows; result receives what the procedure returned. Fails, with nothing
// run, when the thread cannot be made.
HRESULT RunOnThreadAndWait(CWorkerThread::Procedure procedure, void* argument, UINT& result);

} // namespace corvane
