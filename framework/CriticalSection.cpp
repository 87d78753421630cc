#include "framework/CriticalSection.h"

namespace corvane {

void CCriticalSection::LockHandlingSentMessages()
{
    while (!TryLock())
    {
        // Wakes for messages sent from other threads; PeekMessage dispatches them without touching
        // the posted-message queue, so input waits until the handler that wanted the lock has run.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_SENDMESSAGE, 0);
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace corvane
