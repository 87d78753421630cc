// Runs Corvane.exe as a person would, for a machine without anyone at the screen: starts the program,
// sets the options asked for through the window's own controls, presses Execute, waits for the run to
// end, and writes down what the event list shows, a screenshot and where the report went.
//
// run_corvane.exe [--output-folder PATH] [--verbose on|off] [--report on|off] [--draw-frames]
//                 [--rows FILE] [--listing FILE] [--report-path FILE] [--screenshot FILE] [--timeout SECONDS]
//
// Options left out keep what the window shows when it opens. The files are Windows paths, except the
// screenshot, which is taken outside Wine and so is a Unix path.
//   --rows         one row per line as "indent|icon|text" (a line feed in a text is written as \n)
//   --listing      the rows as a person reads them: indented, with the meaning of each icon in brackets
//   --report-path  the Unix path of Corvane.xml in the output folder that the run used
//   --draw-frames  Wine draws the window's caption and frame itself (for a display without a window
//                  manager); changes the prefix's X11 driver setting, so only for a prefix of our own
// Exit status: 0 when the run ended and the program closed again, 1 otherwise (the reason on stderr).
#include "engine/EventIcon.h"
#include "framework/UniqueHandle.h"
#include "report/ReportVocabulary.h"
#include "tests/app/UiDriver.h"
#include "tests/support/TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using corvane::CKernelHandle;
using corvane::uitest::CUiDriver;
using corvane::uitest::EventRow;

namespace {

constexpr int kExecute = 204;
constexpr int kOutputFolder = 1002;
constexpr int kVerbose = 1011;
constexpr int kSaveReport = 1012;

struct Options
{
    std::wstring outputFolder;
    int verbose = -1; // -1: as the window shows it
    int report = -1;
    bool drawFrames = false;
    std::wstring rowsFile;
    std::wstring listingFile;
    std::wstring reportPathFile;
    std::wstring screenshot;
    DWORD timeoutSeconds = 300;
};

// What each icon of the event list stands for.
const wchar_t* IconMeaning(int icon)
{
    using corvane::EventIcon;
    switch (static_cast<EventIcon>(icon))
    {
    case EventIcon::Info:
        return L"info";
    case EventIcon::Warning:
        return L"warning";
    case EventIcon::GearArrow:
        return L"gear";
    case EventIcon::GemMoving:
        return L"running";
    case EventIcon::Gem:
        return L"detail";
    case EventIcon::GemPage:
        return L"file";
    case EventIcon::PageCheck:
        return L"section";
    case EventIcon::Monitor:
        return L"summary";
    case EventIcon::WindowGrid:
        return L"path";
    case EventIcon::Cubes:
        return L"key";
    case EventIcon::FolderClosed:
        return L"subkey";
    case EventIcon::FolderOpen:
        return L"open-folder";
    case EventIcon::MuiSz:
        return corvane::xml::RegistryTypeName(corvane::xml::RegMuiSz);
    case EventIcon::FindingError:
        return L"error";
    case EventIcon::FindingWarning:
        return L"caution";
    case EventIcon::FindingInformation:
        return L"note";
    default:
        break;
    }
    // One icon for each registry type from REG_NONE to REG_QWORD.
    const int type = icon - static_cast<int>(EventIcon::None);
    return type >= 0 && type <= REG_QWORD ? corvane::xml::RegistryTypeName(static_cast<DWORD>(type)) : L"?";
}

std::wstring Escaped(const std::wstring& text)
{
    std::wstring escaped;
    for (wchar_t c : text)
    {
        if (c == L'\n')
            escaped += L"\\n";
        else if (c == L'\r')
            escaped += L"\\r";
        else
            escaped += c;
    }
    return escaped;
}

std::wstring RowsText(const std::vector<EventRow>& rows)
{
    std::wstring text;
    for (const EventRow& row : rows)
        text +=
            std::to_wstring(row.indent) + L"|" + std::to_wstring(row.icon) + L"|" + Escaped(row.text) + L"\n";
    return text;
}

// Each indent level shifts a row by one icon; here by four blanks. Continuation lines of a text with
// line feeds stand under its first line.
std::wstring ListingText(const std::vector<EventRow>& rows)
{
    std::wstring text;
    for (const EventRow& row : rows)
    {
        const std::wstring lead =
            std::wstring(static_cast<size_t>(row.indent > 0 ? row.indent : 0) * 4, L' ') + L"[" +
            IconMeaning(row.icon) + L"] ";
        text += lead;
        for (wchar_t c : row.text)
        {
            text += c;
            if (c == L'\n')
                text += std::wstring(lead.size(), L' ');
        }
        text += L"\n";
    }
    return text;
}

bool WriteBytesFile(const std::wstring& path, const std::string& bytes)
{
    CKernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
    {
        file.Release();
        return false;
    }
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

bool WriteTextFile(const std::wstring& path, const std::wstring& text)
{
    return WriteBytesFile(path, corvane::test::ToUtf8(text));
}

int Fail(const char* what)
{
    std::fprintf(stderr, "run_corvane: %s\n", what);
    return 1;
}

bool ParseSwitch(const wchar_t* value, int* target)
{
    if (std::wcscmp(value, L"on") == 0)
        *target = 1;
    else if (std::wcscmp(value, L"off") == 0)
        *target = 0;
    else
        return false;
    return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options* options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring name = argv[i];
        if (name == L"--draw-frames")
        {
            options->drawFrames = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const wchar_t* value = argv[++i];
        if (name == L"--output-folder")
            options->outputFolder = value;
        else if (name == L"--verbose")
        {
            if (!ParseSwitch(value, &options->verbose))
                return false;
        }
        else if (name == L"--report")
        {
            if (!ParseSwitch(value, &options->report))
                return false;
        }
        else if (name == L"--rows")
            options->rowsFile = value;
        else if (name == L"--listing")
            options->listingFile = value;
        else if (name == L"--report-path")
            options->reportPathFile = value;
        else if (name == L"--screenshot")
            options->screenshot = value;
        else if (name == L"--timeout")
            options->timeoutSeconds = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
        else
            return false;
    }
    return true;
}

// The window as it stands on the X screen (Wine's screen coordinates are the X root's), cut out of a
// picture of the whole screen.
bool TakeScreenshot(HWND window, const std::wstring& unixFile)
{
    RECT rect{};
    if (!::GetWindowRect(window, &rect))
        return false;
    char geometry[96];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", rect.right - rect.left,
                  rect.bottom - rect.top, rect.left > 0 ? rect.left : 0L, rect.top > 0 ? rect.top : 0L);
    const std::string file = corvane::test::ToUtf8(unixFile);
    return corvane::test::RunUnixCommand("import -window root -crop " + std::string(geometry) + " +repage " +
                                         corvane::test::ShellQuote(file)) == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, &options))
        return Fail("usage: run_corvane.exe [--output-folder PATH] [--verbose on|off] [--report on|off] "
                    "[--draw-frames] [--rows FILE] [--listing FILE] [--report-path FILE] [--screenshot FILE] "
                    "[--timeout SECONDS]");

    if (options.drawFrames && !corvane::uitest::SetRegistryString(
                                  HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", L"N"))
        return Fail("could not set the X11 driver's Managed setting");

    CUiDriver ui;
    if (!ui.Start())
        return Fail("Corvane did not show its window");
    if (!options.outputFolder.empty())
        ui.Type(kOutputFolder, options.outputFolder);
    if (options.verbose >= 0)
        ui.SetChecked(kVerbose, options.verbose == 1);
    if (options.report >= 0)
        ui.SetChecked(kSaveReport, options.report == 1);
    const std::wstring outputFolder = ui.Text(kOutputFolder);

    if (!ui.Click(kExecute))
        return Fail("Execute did not answer");
    if (!ui.WaitUntilIdle(options.timeoutSeconds * 1000))
        return Fail("the run did not end in time");
    // The last updates are painted by the program's own message loop once it is idle again.
    ui.Responds();
    ::Sleep(500);

    const std::vector<EventRow> rows = ui.Rows();
    if (!options.rowsFile.empty() && !WriteTextFile(options.rowsFile, RowsText(rows)))
        return Fail("could not write the rows file");
    if (!options.listingFile.empty() && !WriteTextFile(options.listingFile, ListingText(rows)))
        return Fail("could not write the listing file");
    if (!options.reportPathFile.empty())
    {
        std::wstring report = outputFolder;
        if (report.empty() || report.back() != L'\\')
            report += L'\\';
        report += L"Corvane.xml";
        // The Unix path as the system spells it, byte for byte.
        if (!WriteBytesFile(options.reportPathFile, corvane::test::UnixPath(report) + "\n"))
            return Fail("could not write the report path file");
    }
    if (!options.screenshot.empty() && !TakeScreenshot(ui.Window(), options.screenshot))
        return Fail("could not take the screenshot");

    if (!ui.Close())
        return Fail("Corvane.exe did not end when closed");
    return 0;
}
