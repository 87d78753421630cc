// Hostile registries: every key that the probes read filled from a seed with random content, then a
// whole verbose or quiet run on a visible window. For each seed: no crash, no hang, the run ends with its
// outcome row, the report is well-formed and valid against Corvane.xsd, it holds every value that the
// dump keeps (and nothing else), and no text shows bytes beyond the data that the registry returned.
//
// CORVANE_HOSTILE_SEEDS (200) seeds from CORVANE_HOSTILE_FIRST_SEED (1); CORVANE_HOSTILE_SEED replays one.
#include "tests/hostile/HostileRegistry.h"
#include "engine/EventIcon.h"
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "tests/hostile/DumpOracle.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/RunHarness.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

using namespace corvane;
using namespace corvane::scale;
using test::EventRow;

namespace {

constexpr size_t kValidationBatch = 50;

unsigned long EnvironmentNumber(const char* name, unsigned long fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtoul(value, nullptr, 10) : fallback;
}

// A setting of the Outlook client as the probe keeps it: the whole data, however long, empty when the
// value is missing, empty, or (for the paths) expandable.
std::wstring ExpectedSetting(HKEY client, const wchar_t* name, bool expandableKept = true)
{
    std::vector<BYTE> data(8192);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    if (!client || ::RegQueryValueExW(client, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::wstring();
    if (size < 2 || (!expandableKept && type == REG_EXPAND_SZ))
        return std::wstring();
    std::wstring units(size / 2, L'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

std::wstring FirstString(const std::wstring& units)
{
    return std::wstring(units.c_str());
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    CRegKey key;
    return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::wstring Before(UINT id)
{
    const std::wstring format = LoadResourceString(id);
    return format.substr(0, format.find(L"%s"));
}

std::string RowText(const EventRow& row)
{
    char style[32];
    std::snprintf(style, sizeof style, "[%d/%d] ", row.icon, row.indent);
    std::string text(style);
    text += Printable(row.text);
    return text;
}

struct SeedReport
{
    uint32_t seed;
    std::vector<std::string> problems;
};

class CSeedCheck
{
public:
    CSeedCheck(const HostileCase& written, const RunOutcome& outcome, const std::vector<EventRow>& rows,
               int selected, bool lastVisible)
        : written_(written), outcome_(outcome), rows_(rows), selected_(selected), lastVisible_(lastVisible)
    {}

    std::vector<std::string> problems;

    void Outcome()
    {
        if (rows_.empty())
        {
            problems.push_back("the list is empty");
            return;
        }
        const EventRow& last = rows_.back();
        const UINT id = outcome_.result == 0   ? IDS_TEST_COMPLETED
                        : outcome_.result == 1 ? IDS_TEST_ABORTED
                                               : IDS_TEST_FAILED;
        if (last.indent != 0 || last.icon != (outcome_.result == 0 ? 0 : 1) ||
            last.text.rfind(Before(id), 0) != 0)
            problems.push_back("the last row is not the outcome of result " +
                               std::to_string(outcome_.result) + ": " + RowText(last));
        if (outcome_.result == -1)
        {
            std::string errors;
            for (const EventRow& row : rows_)
            {
                if (row.icon == static_cast<int>(EventIcon::Warning) && row.indent == 0)
                    errors += " " + RowText(row);
            }
            problems.push_back("the report could not be made or saved (run result -1):" + errors);
        }
        if (outcome_.result == 1)
            problems.push_back("the run ended as aborted, but nobody pressed Stop");
        if (selected_ != static_cast<int>(rows_.size()) - 1 || !lastVisible_)
            problems.push_back("the outcome row is not the selected row in view (selected " +
                               std::to_string(selected_) + " of " + std::to_string(rows_.size()) + ")");
        for (const EventRow& row : rows_)
        {
            if (row.icon == static_cast<int>(EventIcon::GemMoving))
                problems.push_back("a placeholder row was left behind: " + RowText(row));
        }
    }

    void Report(const std::wstring& file)
    {
        std::vector<DumpList> hives;
        std::wstring error;
        if (!ReadReportHives(file, hives, error))
        {
            problems.push_back("report: " + Printable(error));
            return;
        }
        std::vector<size_t> hiveRows;
        for (size_t i = 0; i < rows_.size(); ++i)
        {
            if (rows_[i].icon == static_cast<int>(EventIcon::Cubes) && rows_[i].indent == 1)
                hiveRows.push_back(i);
        }
        if (hiveRows.size() != hives.size())
        {
            problems.push_back(std::to_string(hiveRows.size()) + " key rows in the list, " +
                               std::to_string(hives.size()) + " RegHive lists in the report");
            return;
        }
        std::vector<std::wstring> shown;
        for (size_t i = 0; i < hives.size(); ++i)
        {
            const std::wstring& name = rows_[hiveRows[i]].text;
            shown.push_back(name);
            const bool machine = name.rfind(L"HKLM\\", 0) == 0;
            const std::wstring path = name.substr(5);
            DumpList expected;
            if (!ExpectedDump(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path,
                              path == kMailKey ? 1 : 0, expected))
            {
                problems.push_back("a key row for a key that does not open: " + Printable(name));
                continue;
            }
            const std::string difference = CompareDump(expected, hives[i]);
            if (!difference.empty())
                problems.push_back(Printable(name) + ": " + difference);
            Rows(hiveRows[i], expected, path == kMailKey ? 2 : 1);
        }
        Presence(shown);
    }

private:
    // The dump's rows stand right below the key's row: in verbose runs all of them, otherwise none.
    void Rows(size_t hiveRow, const DumpList& expected, int logDepth)
    {
        const std::vector<EventRow> wanted =
            written_.verbose ? ExpectedRows(expected, logDepth) : std::vector<EventRow>();
        for (size_t i = 0; i < wanted.size(); ++i)
        {
            const size_t at = hiveRow + 1 + i;
            if (at >= rows_.size() || !(rows_[at] == wanted[i]))
            {
                problems.push_back(Printable(expected.name) + ": dump row " + std::to_string(i) +
                                   " expected " + RowText(wanted[i]) + ", found " +
                                   (at < rows_.size() ? RowText(rows_[at]) : std::string("no row")));
                return;
            }
        }
        const size_t next = hiveRow + 1 + wanted.size();
        if (next < rows_.size() && rows_[next].indent >= 2 &&
            (rows_[next].icon == 10 || rows_[next].icon >= 12))
            problems.push_back(Printable(expected.name) + ": a dump row too many: " + RowText(rows_[next]));
    }

    // Which keys were copied: the mail clients key always, the language keys that exist when both
    // language values have a first string, the messaging key when it exists, the application path key
    // when the run reached the Outlook section.
    void Presence(const std::vector<std::wstring>& shown)
    {
        std::vector<std::wstring> wanted = {std::wstring(L"HKLM\\") + kMailKey};
        CRegKey client;
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kMailKey) + L"\\" + kOutlookClientName).c_str(), 0,
                        KEY_READ, client.Put());
        const std::wstring application = FirstString(ExpectedSetting(client.Get(), L"MSIApplicationLCID"));
        const std::wstring office = FirstString(ExpectedSetting(client.Get(), L"MSIOfficeLCID"));
        if (client && !application.empty() && !office.empty())
        {
            if (KeyExists(HKEY_CURRENT_USER, L"Software\\" + application))
            {
                wanted.push_back(L"HKCU\\Software\\" + application);
                if (KeyExists(HKEY_CURRENT_USER, L"Software\\" + office))
                    wanted.push_back(L"HKCU\\Software\\" + office);
            }
        }
        if (KeyExists(HKEY_LOCAL_MACHINE, kMessagingKey))
            wanted.push_back(std::wstring(L"HKLM\\") + kMessagingKey);
        const std::wstring outlookSection = LoadResourceString(IDS_SECTION_OUTLOOK);
        bool reachedOutlook = false;
        for (const EventRow& row : rows_)
            reachedOutlook =
                reachedOutlook || (row.icon == 6 && row.indent == 0 && row.text == outlookSection);
        if (reachedOutlook && KeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey))
            wanted.push_back(std::wstring(L"HKLM\\") + kAppPathsKey);
        if (wanted != shown)
        {
            std::ostringstream list;
            list << wanted.size() << " keys expected to be copied, copied:";
            for (const std::wstring& name : shown)
                list << ' ' << Printable(name, 60);
            problems.push_back(list.str());
        }
        Settings(client.Get(), application, office);
    }

    // The Outlook client's rows: "not found", or "Settings" with the verbose detail rows of its values.
    void Settings(HKEY client, const std::wstring& application, const std::wstring& office)
    {
        const std::wstring missing = LoadResourceString(IDS_OUTLOOK_KEY_NOT_FOUND);
        const std::wstring settings = LoadResourceString(IDS_OUTLOOK_SETTINGS);
        size_t at = rows_.size();
        for (size_t i = 0; i < rows_.size(); ++i)
        {
            if (rows_[i].icon == 7 && rows_[i].indent == 1 &&
                (rows_[i].text == missing || rows_[i].text == settings))
                at = i;
        }
        if (at == rows_.size())
        {
            problems.push_back("neither the Outlook settings row nor its \"not found\" row");
            return;
        }
        if (!client)
        {
            if (rows_[at].text != missing)
                problems.push_back("the Outlook client key is missing, but the list shows its settings");
            return;
        }
        if (rows_[at].text != settings)
        {
            problems.push_back("the Outlook client key exists, but the list says it was not found");
            return;
        }
        if (!written_.verbose)
            return;
        std::vector<EventRow> wanted = {
            {FormatResourceString(IDS_MSI_COMPONENT_ID,
                                  FirstString(ExpectedSetting(client, L"MSIComponentID")).c_str()),
             4, 2},
            {FormatResourceString(IDS_MSI_APPLICATION_LCID, application.c_str()), 4, 2},
            {FormatResourceString(IDS_MSI_OFFICE_LCID, office.c_str()), 4, 2}};
        const std::wstring dllPath = FirstString(ExpectedSetting(client, L"DLLPath", false));
        const std::wstring dllPathEx = FirstString(ExpectedSetting(client, L"DLLPathEx", false));
        if (!dllPath.empty())
            wanted.push_back({FormatResourceString(IDS_DLL_PATH, dllPath.c_str()), 4, 2});
        if (!dllPathEx.empty())
            wanted.push_back({FormatResourceString(IDS_DLL_PATH_EX, dllPathEx.c_str()), 4, 2});
        for (size_t i = 0; i < wanted.size(); ++i)
        {
            if (at + 1 + i >= rows_.size() || !(rows_[at + 1 + i] == wanted[i]))
            {
                problems.push_back(
                    "Outlook setting row " + std::to_string(i) + " expected " + RowText(wanted[i]) +
                    ", found " +
                    (at + 1 + i < rows_.size() ? RowText(rows_[at + 1 + i]) : std::string("no row")));
                return;
            }
        }
    }

    const HostileCase& written_;
    const RunOutcome& outcome_;
    const std::vector<EventRow>& rows_;
    int selected_;
    bool lastVisible_;
};

// xmllint on a batch of saved reports at once: parsed and valid against the schema, file by file.
void ValidateBatch(const test::CScratchFolder& folder, std::vector<uint32_t>& batch,
                   std::map<uint32_t, SeedReport>& failures)
{
    if (batch.empty())
        return;
    std::string command = "cd " + test::ShellQuote(test::UnixPath(folder.Path())) +
                          " && xmllint --noout --schema " +
                          test::ShellQuote(CORVANE_BINARY_DIR "/Corvane.xsd");
    for (uint32_t seed : batch)
        command += " seed-" + std::to_string(seed) + ".xml";
    std::string output;
    test::RunUnixCommand(command, &output);
    std::set<uint32_t> valid;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
    {
        unsigned long seed = 0;
        char tail[32] = {};
        if (std::sscanf(line.c_str(), "seed-%lu.xml %31s", &seed, tail) == 2 &&
            std::string(tail) == "validates")
            valid.insert(static_cast<uint32_t>(seed));
    }
    for (uint32_t seed : batch)
    {
        if (!valid.count(seed))
        {
            SeedReport& report = failures[seed];
            report.seed = seed;
            std::string reason;
            std::istringstream again(output);
            const std::string prefix = "seed-" + std::to_string(seed) + ".xml";
            for (std::string line; std::getline(again, line) && reason.size() < 400;)
            {
                if (line.rfind(prefix, 0) == 0)
                    reason += " " + line;
            }
            report.problems.push_back("xmllint: the report does not validate against Corvane.xsd:" + reason);
        }
        ::DeleteFileW(folder.File((L"seed-" + std::to_wstring(seed) + L".xml").c_str()).c_str());
    }
    batch.clear();
}

} // namespace

TEST(HostileRegistry, EverySeedEndsWithItsOutcomeAndAValidReportOfEveryKeptValue)
{
    const unsigned long replay = EnvironmentNumber("CORVANE_HOSTILE_SEED", 0);
    const unsigned long first = replay ? replay : EnvironmentNumber("CORVANE_HOSTILE_FIRST_SEED", 1);
    const unsigned long count = replay ? 1 : EnvironmentNumber("CORVANE_HOSTILE_SEEDS", 200);

    // Unbuffered, so that whatever was printed before a crash is seen.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ASSERT_TRUE(InstallMockMapiStub()) << "the mock MAPI library could not be put in the System folder";
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    CCrashLabel crashLabel;
    test::CScratchFolder reports;
    std::map<uint32_t, SeedReport> failures;
    std::map<int, int> results;
    int verboseRuns = 0;
    int reachedLanguageKeys = 0;
    double runSeconds = 0;
    {
        CRunHarness harness;
        std::vector<uint32_t> batch;
        for (unsigned long n = 0; n < count; ++n)
        {
            const uint32_t seed = static_cast<uint32_t>(first + n);
            const std::string label = "hostile seed " + std::to_string(seed) +
                                      " (replay with CORVANE_HOSTILE_SEED=" + std::to_string(seed) + ")";
            CCrashLabel::Set(label);
            const HostileCase written = WriteHostileRegistry(seed);
            RunOptions options;
            options.verbose = written.verbose;
            options.outputFolder = reports.Path();
            options.timeoutMs = 60000;
            const RunOutcome outcome = harness.Run(options);
            if (!outcome.ended)
            {
                ADD_FAILURE() << label
                              << ": the run did not end within 60 s; the remaining seeds are not run";
                break;
            }
            runSeconds += outcome.milliseconds / 1000.0;
            ++results[outcome.result];
            verboseRuns += written.verbose ? 1 : 0;
            reachedLanguageKeys += written.languageKeys ? 1 : 0;

            const std::vector<EventRow> rows = harness.Rows();
            CSeedCheck check(written, outcome, rows, harness.Window().SelectedRow(),
                             !rows.empty() &&
                                 harness.Window().IsRowVisible(static_cast<int>(rows.size()) - 1));
            check.Outcome();
            const std::wstring saved = reports.File(L"Corvane.xml");
            const std::wstring kept = reports.File((L"seed-" + std::to_wstring(seed) + L".xml").c_str());
            if (!test::FileExists(saved))
                check.problems.push_back("no report file was saved");
            else
            {
                check.Report(saved);
                ::MoveFileExW(saved.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING);
                batch.push_back(seed);
            }
            if (!check.problems.empty())
            {
                SeedReport& report = failures[seed];
                report.seed = seed;
                report.problems.insert(report.problems.end(), check.problems.begin(), check.problems.end());
            }
            if (batch.size() >= kValidationBatch)
            {
                ValidateBatch(reports, batch, failures);
                std::printf("[ hostile ] %lu seeds run, %zu failing so far\n", n + 1, failures.size());
            }
        }
        ValidateBatch(reports, batch, failures);
        CCrashLabel::Set("hostile check, after the last seed");
    }
    ClearProbedKeys();
    ::CoUninitialize();

    std::printf("[ hostile ] %lu seeds from %lu, %d verbose, %d with language keys, %.1f s of runs;", count,
                first, verboseRuns, reachedLanguageKeys, runSeconds);
    for (const auto& [result, runs] : results)
        std::printf(" result %d: %d", result, runs);
    std::printf("\n");
    for (const auto& [seed, report] : failures)
    {
        std::string text;
        for (const std::string& problem : report.problems)
            text += "\n    " + problem;
        ADD_FAILURE() << "seed " << seed << " (replay with CORVANE_HOSTILE_SEED=" << seed << "):" << text;
    }
    // The seeds must reach the later sections too, or the keys read there were never tried.
    EXPECT_GT(results[0] + results[-10], 0) << "no seed reached the Outlook module step";
}
