#pragma once
// Re-entrant lock (a Win32 critical section) and the scoped guard through which it is always taken.

#include <windows.h>

namespace corvane {

class CCriticalSection
{
public:
    CCriticalSection() { ::InitializeCriticalSection(&section_); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    virtual ~CCriticalSection() { ::DeleteCriticalSection(&section_); }

    void Lock() { ::EnterCriticalSection(&section_); }
    bool TryLock() { return ::TryEnterCriticalSection(&section_) != FALSE; }
    void Unlock() { ::LeaveCriticalSection(&section_); }

    // Takes the lock on a thread that owns windows: while waiting it keeps handling the messages that
    // other threads send to its windows, so a lock holder that sends one never waits for this thread.
    void LockHandlingSentMessages();

private:
    CRITICAL_SECTION section_;
};

class CScopedLock
{
public:
    enum class Wait
    {
        Plain,
        HandlingSentMessages,
    };

    explicit CScopedLock(CCriticalSection& lock, Wait wait = Wait::Plain) : lock_(lock)
    {
        if (wait == Wait::HandlingSentMessages)
            lock_.LockHandlingSentMessages();
        else
            lock_.Lock();
    }
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;
    ~CScopedLock() { lock_.Unlock(); }

private:
    CCriticalSection& lock_;
};

} // namespace corvane
