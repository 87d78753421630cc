#include "framework/WorkerThread.h"

#include <process.h>

#include <new>

namespace corvane {

CWorkerThread* CWorkerThread::CreateSuspended(Procedure procedure, void* argument)
{
    if (!procedure)
    {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CWorkerThread* thread = new (std::nothrow) CWorkerThread(procedure, argument);
    if (!thread)
    {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // _beginthreadex rather than CreateThread: the procedure uses the C runtime.
    unsigned threadId = 0;
    const uintptr_t handle = ::_beginthreadex(nullptr, 0, &Entry, thread, CREATE_SUSPENDED, &threadId);
    if (handle == 0)
    {
        const DWORD error = ::GetLastError();
        delete thread;
        ::SetLastError(error ? error : ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    thread->handle_.Reset(reinterpret_cast<HANDLE>(handle));
    thread->threadId_ = threadId;
    return thread;
}

bool CWorkerThread::Resume()
{
    return ::ResumeThread(handle_.Get()) != static_cast<DWORD>(-1);
}

void CWorkerThread::Discard()
{
    ::TerminateThread(handle_.Get(), ERROR_CANCELLED);
    delete this;
}

unsigned __stdcall CWorkerThread::Entry(void* self)
{
    CWorkerThread* thread = static_cast<CWorkerThread*>(self);
    const UINT result = thread->procedure_(thread->argument_);
    delete thread;
    return result;
}

} // namespace corvane
