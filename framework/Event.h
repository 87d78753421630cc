#pragma once
// An unnamed, auto-reset kernel event that starts not signalled.

#include "framework/HResult.h"
#include "framework/UniqueHandle.h"

namespace corvane {

class CEvent
{
public:
    CEvent() = default;
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    // Makes the event; the system's reason when it cannot.
    HRESULT Create()
    {
        handle_.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        return handle_.IsValid() ? S_OK : FailureFromLastError();
    }

    bool IsCreated() const { return handle_.IsValid(); }
    void SetEvent() { ::SetEvent(handle_.Get()); }
    void ResetEvent() { ::ResetEvent(handle_.Get()); }

    // True when the event was signalled; being auto-reset, the look consumes the signal.
    bool TakeSignal() { return ::WaitForSingleObject(handle_.Get(), 0) == WAIT_OBJECT_0; }

    HANDLE Get() const { return handle_.Get(); }

private:
    CKernelHandle handle_;
};

} // namespace corvane
