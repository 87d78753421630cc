#include "framework/WorkerThread.h"

#include "framework/HResult.h"

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

namespace {

struct JoinedCall
{
    CWorkerThread::Procedure procedure;
    void* argument;
};

unsigned __stdcall JoinedEntry(void* call)
{
    const auto* joined = static_cast<const JoinedCall*>(call);
    return joined->procedure(joined->argument);
}

} // namespace

HRESULT RunOnThreadAndWait(CWorkerThread::Procedure procedure, void* argument, UINT& result)
{
    result = 0;
    if (!procedure)
        return E_INVALIDARG;
    JoinedCall call{procedure, argument};
    unsigned threadId = 0;
    ::SetLastError(ERROR_SUCCESS);
    CKernelHandle thread(
        reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &JoinedEntry, &call, 0, &threadId)));
    if (!thread)
        return FailureFromLastError();
    // Only the thread's end lets this go on: what the procedure was given must outlive it.
    HANDLE handle = thread.Get();
    for (;;)
    {
        const DWORD wake = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, 0);
        if (wake == WAIT_OBJECT_0)
            break;
        if (wake == WAIT_FAILED)
            ::Sleep(10);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    DWORD exitCode = 0;
    if (!::GetExitCodeThread(handle, &exitCode))
        return FailureFromLastError();
    result = static_cast<UINT>(exitCode);
    return S_OK;
}

} // namespace corvane
