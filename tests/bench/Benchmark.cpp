// The benchmark of one sample machine: the real run of the engine on the real main dialog (quiet and
// verbose, each saving its report) against the raw baseline, in one process. Prints one line of figures
// per measurement for scripts/benchmark.sh, which runs one process per machine size so that each peak
// working set belongs to its size alone.
//
// corvane_bench.exe CLIENTS LANGUAGE_VALUES REPEATS [MODES]   MODES: any of b (baseline), q (quiet), v
// (verbose); default bqv. The peak working set is the one after the first measured run of the process.
//
// After each verbose run the same thread that drove it measures the floor of a verbose row: one bare
// cross-thread SendMessageW (WM_NULL) to the event list for every row the run showed, while the list
// still holds them. Every display operation is such a message, so a row can cost no less.
#include "probes/mail/ComponentPathChild.h"
#include "res/resource.h"
#include "tests/bench/Baseline.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/RunHarness.h"
#include "tests/hostile/SampleMachine.h"
#include "tests/soak/DialogSession.h"
#include "tests/soak/ProcessCounters.h"
#include "tests/support/TestFiles.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

using namespace corvane;
using namespace corvane::scale;

namespace {

struct Measurement
{
    std::vector<double> milliseconds;
    std::vector<double> floorMicroseconds; // verbose only: one bare round trip per row
    long long reportBytes = 0;
    int rows = 0;
    double peakMb = 0;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long long FileBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int RowCount(HWND dialog)
{
    return static_cast<int>(::SendMessageW(::GetDlgItem(dialog, IDC_EVENT_LIST), LVM_GETITEMCOUNT, 0, 0));
}

// Microseconds a round trip: the list's thread handles each WM_NULL while this one waits.
double MessageFloorMicroseconds(HWND dialog, int messages)
{
    HWND list = ::GetDlgItem(dialog, IDC_EVENT_LIST);
    if (!list || messages <= 0)
        return 0;
    const double start = NowSeconds();
    for (int i = 0; i < messages; ++i)
        ::SendMessageW(list, WM_NULL, 0, 0);
    return (NowSeconds() - start) * 1e6 / messages;
}

double PeakMb()
{
    return static_cast<double>(ReadProcessCounters().peakWorkingSet) / 1048576.0;
}

void Print(const char* mode, int clients, int values, const Measurement& measurement, size_t items)
{
    const double ms = Median(measurement.milliseconds);
    std::printf("BENCH clients=%d values=%d mode=%s ms=%.1f items=%zu rows=%d bytes=%lld peak_mb=%.1f "
                "runs=%zu floor_us=%.1f\n",
                clients, values, mode, ms, items, measurement.rows, measurement.reportBytes,
                measurement.peakMb, measurement.milliseconds.size(), Median(measurement.floorMicroseconds));
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // The runs ask the MAPI libraries in a child that is this program, as Corvane's are its own.
    if (argc == 2 && std::wcscmp(argv[1], kComponentPathChildArgument) == 0)
        return ServeComponentPathQuery();
    const int clients = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 10;
    const int languageValues = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 1000;
    const int repeats = argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 3;
    const std::wstring modes = argc > 4 ? argv[4] : L"bqv";
    const bool runBaseline = modes.find(L'b') != std::wstring::npos;
    const bool runQuiet = modes.find(L'q') != std::wstring::npos;
    const bool runVerbose = modes.find(L'v') != std::wstring::npos;
    ::CoInitialize(nullptr);
    if (!InstallMockMapiStub())
    {
        std::printf("BENCH error: the mock MAPI library could not be installed\n");
        return 1;
    }
    const double writeStart = NowSeconds();
    const int written = WriteSampleMachine({clients, languageValues});
    std::printf("BENCH machine clients=%d values=%d written=%d seconds=%.1f peak_mb=%.1f\n", clients,
                languageValues, written, NowSeconds() - writeStart, PeakMb());
    std::fflush(stdout);

    test::CScratchFolder folder;
    const std::wstring report = folder.File(L"Corvane.xml");
    Measurement baseline;
    Measurement quiet;
    Measurement verbose;
    size_t items = 0;
    CReportData engine;
    CDialogSession::Run(engine, [&](CDialogSession& session) {
        ::CoInitialize(nullptr);
        for (int repeat = 0; repeat < repeats; ++repeat)
        {
            if (runBaseline)
            {
                const BaselineResult raw = RunBaseline(report);
                baseline.milliseconds.push_back(raw.milliseconds);
                baseline.reportBytes = FileBytes(report);
                items = raw.items;
                if (repeat == 0)
                    baseline.peakMb = PeakMb();
            }
            if (runQuiet)
            {
                quiet.milliseconds.push_back(session.Execute(false, true, folder.Path()));
                quiet.reportBytes = FileBytes(report);
                quiet.rows = RowCount(session.Window());
                if (repeat == 0)
                    quiet.peakMb = PeakMb();
            }
            if (runVerbose)
            {
                verbose.milliseconds.push_back(session.Execute(true, true, folder.Path()));
                verbose.reportBytes = FileBytes(report);
                verbose.rows = RowCount(session.Window());
                if (repeat == 0)
                    verbose.peakMb = PeakMb();
                verbose.floorMicroseconds.push_back(MessageFloorMicroseconds(session.Window(), verbose.rows));
            }
        }
        ::CoUninitialize();
    });
    // The items of the run are those of the baseline: the same keys, walked the same way.
    if (!runBaseline)
    {
        CoInitialize(nullptr);
        items = RunBaseline(report).items;
        CoUninitialize();
    }
    if (runBaseline)
        Print("baseline", clients, languageValues, baseline, items);
    if (runQuiet)
        Print("quiet", clients, languageValues, quiet, items);
    if (runVerbose)
        Print("verbose", clients, languageValues, verbose, items);
    ClearProbedKeys();
    ::CoUninitialize();
    return 0;
}
