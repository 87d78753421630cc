// Soak: many whole runs in one process of the real window, the real main dialog driven through its
// Execute button. The process's handle count, USER and GDI objects and private bytes are printed at the
// start and the end, and must stay flat within small bounds.
//
// CORVANE_SOAK_RUNS runs (500); every tenth is verbose, every one saves its report.
#include "framework/StringTable.h"
#include "res/resource.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/SampleMachine.h"
#include "tests/soak/DialogSession.h"
#include "tests/soak/ProcessCounters.h"
#include "tests/support/TestFiles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace corvane;
using namespace corvane::scale;

namespace {

// What a leak-free program may still grow by between the counts: caches that fill up once, and the
// heap's own bookkeeping.
constexpr long kHandleBound = 8;
constexpr long kUserBound = 4;
constexpr long kGdiBound = 8;
constexpr double kPrivateBoundMb = 4.0;
constexpr int kWarmUpRuns = 5;

unsigned long EnvironmentNumber(const char* name, unsigned long fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtoul(value, nullptr, 10) : fallback;
}

std::wstring LastRowText(HWND dialog)
{
    HWND list = ::GetDlgItem(dialog, IDC_EVENT_LIST);
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    wchar_t text[512] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = count - 1;
    item.pszText = text;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Counted once the worker of the last run has gone and its thread object with it.
ProcessCounters SettledCounters()
{
    ::Sleep(300);
    return ReadProcessCounters();
}

} // namespace

TEST(Soak, ManyRunsOfTheRealWindowLeaveHandlesObjectsAndMemoryFlat)
{
    const unsigned long runs = EnvironmentNumber("CORVANE_SOAK_RUNS", 500);
    // The test fixtures' mock libraries carry a static thread library that keeps two handles of every
    // thread that loads them; the soak's own library carries no runtime at all.
    ASSERT_TRUE(InstallMockMapiStub(L"fixtures/soak/soak_mapi.dll"));
    WriteSampleMachine({10, 100});
    test::CScratchFolder reports;
    const std::wstring completed = FormatResourceString(IDS_TEST_COMPLETED, L"");
    const std::wstring completedStart = completed.substr(0, completed.size() - 1);

    CReportData engine;
    ProcessCounters start;
    ProcessCounters end;
    unsigned long done = 0;
    unsigned long incomplete = 0;
    double totalMs = 0;
    CDialogSession::Run(engine, [&](CDialogSession& session) {
        for (unsigned long run = 0; run < runs + kWarmUpRuns; ++run)
        {
            if (run == static_cast<unsigned long>(kWarmUpRuns))
            {
                start = SettledCounters();
                std::printf("[ soak ] after %d warm-up runs: %s\n", kWarmUpRuns,
                            DescribeCounters(start).c_str());
            }
            const double ms = session.Execute(run % 10 == 9, true, reports.Path(), 120000);
            if (ms < 0)
            {
                ADD_FAILURE() << "run " << run << " did not end within 120 s";
                return;
            }
            if (LastRowText(session.Window()).rfind(completedStart, 0) != 0)
                ++incomplete;
            if (run >= static_cast<unsigned long>(kWarmUpRuns))
            {
                totalMs += ms;
                ++done;
                if (done % 100 == 0 && done < runs)
                    std::printf("[ soak ] after %lu runs: %s\n", done,
                                DescribeCounters(ReadProcessCounters()).c_str());
            }
        }
        end = SettledCounters();
    });
    std::printf("[ soak ] after %lu runs: %s\n", done, DescribeCounters(end).c_str());
    std::printf("[ soak ] %lu runs in %.1f s, %.0f ms a run\n", done, totalMs / 1000.0,
                done ? totalMs / done : 0.0);
    ClearProbedKeys();

    EXPECT_EQ(runs, done);
    EXPECT_EQ(0ul, incomplete) << "runs that did not end with \"" << test::ToUtf8(completedStart) << "...\"";
    EXPECT_LE(static_cast<long>(end.handles) - static_cast<long>(start.handles), kHandleBound);
    EXPECT_LE(static_cast<long>(end.userObjects) - static_cast<long>(start.userObjects), kUserBound);
    EXPECT_LE(static_cast<long>(end.gdiObjects) - static_cast<long>(start.gdiObjects), kGdiBound);
    EXPECT_LE((static_cast<double>(end.privateBytes) - static_cast<double>(start.privateBytes)) / 1048576.0,
              kPrivateBoundMb);
}
