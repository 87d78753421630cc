// The dialog thread's way of taking a lock: it keeps answering messages sent by the lock's holder.
#include "framework/CriticalSection.h"
#include "tests/support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace corvane;

namespace {

// A message-only window of the test thread that counts what it receives.
class CCountingWindow
{
public:
    CCountingWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CorvaneSentMessageLockTest";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
    }
    ~CCountingWindow() { ::DestroyWindow(window_); }
    HWND Get() const { return window_; }
    static std::atomic<int> received;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP)
        {
            ++received;
            return 7;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

std::atomic<int> CCountingWindow::received{0};

} // namespace

TEST(CScopedLockHandlingSentMessages, AnswersTheHolderWhoSendsWhileHoldingTheLock)
{
    CCountingWindow window;
    ASSERT_NE(nullptr, window.Get());
    CCountingWindow::received = 0;
    CCriticalSection lock;
    std::atomic<bool> holding{false};
    std::atomic<LRESULT> answer{0};

    // The holder sends to this thread's window before it lets go: a plain wait here would never end.
    test::CTestThread holder([&] {
        CScopedLock held(lock);
        holding = true;
        DWORD_PTR result = 0;
        for (int i = 0; i < 3; ++i)
        {
            if (::SendMessageTimeoutW(window.Get(), WM_APP, 0, 0, SMTO_NORMAL, 10000, &result))
                answer = static_cast<LRESULT>(result);
        }
    });
    while (!holding)
        ::Sleep(1);
    {
        CScopedLock taken(lock, CScopedLock::Wait::HandlingSentMessages);
        EXPECT_EQ(3, CCountingWindow::received.load());
    }
    holder.Join();
    EXPECT_EQ(7, answer.load());
}

TEST(CScopedLockHandlingSentMessages, LeavesPostedMessagesInTheQueue)
{
    CCountingWindow window;
    CCountingWindow::received = 0;
    CCriticalSection lock;
    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    test::CTestThread holder([&] {
        CScopedLock held(lock);
        holding = true;
        while (!release)
            ::Sleep(1);
    });
    while (!holding)
        ::Sleep(1);
    ASSERT_TRUE(::PostMessageW(window.Get(), WM_APP, 0, 0));
    test::CTestThread releaser([&] {
        ::Sleep(100);
        release = true;
    });
    {
        CScopedLock taken(lock, CScopedLock::Wait::HandlingSentMessages);
        // Input and posted messages wait for the handler that wanted the lock.
        EXPECT_EQ(0, CCountingWindow::received.load());
    }
    holder.Join();
    releaser.Join();
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
    EXPECT_EQ(1, CCountingWindow::received.load());
}

TEST(CScopedLockHandlingSentMessages, IsReentrantOnTheSameThread)
{
    CCriticalSection lock;
    CScopedLock outer(lock, CScopedLock::Wait::HandlingSentMessages);
    CScopedLock inner(lock, CScopedLock::Wait::HandlingSentMessages);
    SUCCEED();
}
