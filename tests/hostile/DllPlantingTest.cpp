// A library planted in the working directory is never loaded: Corvane.exe, started in a folder that
// holds a MAPISTUB.DLL of its own, reports the component paths of the System folder's MAPISTUB.DLL.
//
// The prefix (a copy of its own) is set up so that the plant would win without Corvane's hardening: the
// System folder's MAPISTUB.DLL is a mock library that Wine loads as a native one (its own has no
// export to call), and the machine searches the current directory before the System folder
// (SafeDllSearchMode 0), as machines with that policy do. A probe process started in the planted folder
// shows that the plant is what a bare LoadLibrary finds there.
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "tests/app/UiDriver.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/SampleMachine.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::scale;

namespace {

const wchar_t kPlantedFolder[] = L"C:\\planted";

// Runs the probe in the planted folder; the path of the library it loaded, or what went wrong.
std::string LibraryLoadedInPlantedFolder()
{
    const std::wstring probe = BuildFile(L"tests/hostile/planting_probe.exe");
    const std::wstring output = std::wstring(kPlantedFolder) + L"\\probe.txt";
    std::wstring commandLine = L"\"" + probe + L"\" \"" + output + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, kPlantedFolder, &startup, &process))
        return "the probe did not start: error " + std::to_string(::GetLastError());
    CKernelHandle processHandle(process.hProcess);
    CKernelHandle threadHandle(process.hThread);
    if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
    {
        ::TerminateProcess(process.hProcess, 1);
        return "the probe did not end within a minute";
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    std::string text = test::ReadFileBytes(output);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (exitCode != 0)
        text += " (the probe ended with code " + std::to_string(exitCode) + ")";
    return text;
}

// The System folder's mock answers with a path that names its own file and the arguments; a plant fails
// every call (the failing stand-in with 1607) or has no export at all.
const wchar_t kSystemAnswer[] = L"C:\\Mock\\MAPISTUB.DLL\\{FF1D0740-D227-11D1-A4B0-006008AF820E}\\";

std::wstring SystemStubRow()
{
    return FormatResourceString(IDS_MS_OUTLOOK_PATH, kSystemAnswer);
}

bool SystemStubAnswered(const std::vector<uitest::EventRow>& rows)
{
    const std::wstring expected = SystemStubRow();
    for (const uitest::EventRow& row : rows)
    {
        if (row.text.rfind(expected, 0) == 0)
            return true;
    }
    return false;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

} // namespace

TEST(DllPlanting, AMapiStubPlantedInTheWorkingDirectoryIsNeverLoaded)
{
    ASSERT_TRUE(InstallMockMapiStub());
    WriteSampleMachine({2, 5});
    CRegKey sessionManager =
        CreateKey(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager");
    ASSERT_TRUE(SetRawValue(sessionManager.Get(), L"SafeDllSearchMode", REG_DWORD, {0, 0, 0, 0}));
    ::CreateDirectoryW(kPlantedFolder, nullptr);
    const std::wstring planted = std::wstring(kPlantedFolder) + L"\\MAPISTUB.DLL";
    ASSERT_TRUE(
        ::CopyFileW(BuildFile(L"fixtures/mail/bin/mail_failing_mapi.dll").c_str(), planted.c_str(), FALSE));

    // The premise: a process with the default search path, started there, takes the plant.
    EXPECT_EQ(Lower(test::ToUtf8(planted)), Lower(LibraryLoadedInPlantedFolder()))
        << "the planted library is not what a bare LoadLibrary finds in the planted folder, so this check "
           "proves nothing";

    test::CScratchFolder reports;
    std::vector<uitest::EventRow> rows;
    std::string report;
    {
        wchar_t previous[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, previous);
        ::SetCurrentDirectoryW(kPlantedFolder); // Corvane.exe inherits it as its working directory
        uitest::CUiDriver ui;
        const bool started = ui.Start();
        ::SetCurrentDirectoryW(previous);
        ASSERT_TRUE(started) << "Corvane.exe did not show its window";
        ui.SetChecked(IDC_VERBOSE, true);
        ui.SetChecked(IDC_SAVE_REPORT, true);
        ui.Type(IDC_OUTPUT_FOLDER, reports.Path());
        ASSERT_TRUE(ui.Click(IDC_EXECUTE));
        ASSERT_TRUE(ui.WaitUntilIdle(120000)) << "the run did not end";
        rows = ui.Rows();
        EXPECT_TRUE(ui.Close());
        report = test::ReadFileBytes(reports.File(L"Corvane.xml"));
    }

    EXPECT_TRUE(SystemStubAnswered(rows))
        << "no \"" << test::ToUtf8(SystemStubRow())
        << "...\" row: the System folder's MAPISTUB.DLL was not the one called";
    const std::string moduleCall = "ModulePath=\"MAPISTUB.DLL\"";
    const size_t call = report.find(moduleCall);
    ASSERT_NE(std::string::npos, call) << "the report holds no component path call of MAPISTUB.DLL";
    const std::string callText = report.substr(call, 600);
    EXPECT_NE(std::string::npos, callText.find(test::ToUtf8(kSystemAnswer))) << callText;
    EXPECT_EQ(std::string::npos, callText.find("##ERROR:0x80070647##")) << "the planted library answered:\n"
                                                                        << callText;
    // Its version record is the System folder's file in any case (read by full path).
    EXPECT_NE(std::string::npos, report.find("Corvane Mock MAPI"));
    EXPECT_EQ(std::string::npos, report.find("Corvane Failing MAPI"));
}

namespace {

// The DLLs that Windows loads only from the System folder whatever lies beside a program (the known
// DLLs of Windows XP and later, as far as Corvane imports them). Wine enforces no such list: it takes
// its own builtin library in place of any copy of these, so the list is held here as Windows' fact.
const char* const kKnownDlls[] = {"advapi32.dll", "gdi32.dll",   "kernel32.dll", "msvcrt.dll", "ole32.dll",
                                  "oleaut32.dll", "shell32.dll", "shlwapi.dll",  "user32.dll"};

// COMCTL32.dll is not a known DLL, but the manifest's common controls dependency has Windows load it
// from the side-by-side store and never from beside the program.
const char kCommonControls[] = "comctl32.dll";

// The names of the DLLs that the executable imports, read from its import table.
std::vector<std::string> ImportedDlls(const std::wstring& executable)
{
    std::vector<std::string> names;
    const HMODULE image = ::LoadLibraryExW(executable.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image)
        return names;
    const BYTE* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress && entry->Name; ++entry)
        names.push_back(Lower(reinterpret_cast<const char*>(base + entry->Name)));
    ::FreeLibrary(image);
    return names;
}

} // namespace

TEST(DllPlanting, LibrariesPlantedBesideTheProgramAreNeverLoaded)
{
    ASSERT_TRUE(InstallMockMapiStub());
    WriteSampleMachine({2, 5});
    const std::wstring folder = L"C:\\plantedapp";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\Corvane.exe";
    ASSERT_TRUE(::CopyFileW(uitest::CorvaneExecutable().c_str(), program.c_str(), FALSE));

    // What a bare name would find first: the MAPI libraries, and every import that is neither a known DLL
    // nor the side-by-side common controls.
    std::vector<std::string> planted = {"mapistub.dll", "mapi32.dll"};
    const std::vector<std::string> imports = ImportedDlls(program);
    ASSERT_FALSE(imports.empty()) << "the import table of Corvane.exe could not be read";
    for (const std::string& name : imports)
    {
        if (std::find(std::begin(kKnownDlls), std::end(kKnownDlls), name) == std::end(kKnownDlls) &&
            name != kCommonControls)
            planted.push_back(name);
    }
    EXPECT_EQ(2u, planted.size()) << "Corvane.exe imports a DLL that Windows would look for beside it first: "
                                  << planted.back();
    // Wine takes a planted copy only of a library it has no builtin for or is told to load as native:
    // here the MAPI stub (as on the sample machines). The others, and the common controls, are planted
    // all the same.
    planted.push_back(kCommonControls);
    for (const std::string& name : planted)
    {
        const std::wstring target = folder + L"\\" + std::wstring(name.begin(), name.end());
        ASSERT_TRUE(
            ::CopyFileW(BuildFile(L"tests/hostile/planted_library.dll").c_str(), target.c_str(), FALSE));
        ::DeleteFileW((target + L".loaded").c_str());
    }

    test::CScratchFolder reports;
    std::vector<uitest::EventRow> rows;
    {
        uitest::CUiDriver ui;
        ASSERT_TRUE(ui.Start(program)) << "Corvane.exe did not show its window";
        ui.SetChecked(IDC_VERBOSE, true);
        ui.Type(IDC_OUTPUT_FOLDER, reports.Path());
        ASSERT_TRUE(ui.Click(IDC_EXECUTE));
        ASSERT_TRUE(ui.WaitUntilIdle(120000)) << "the run did not end";
        rows = ui.Rows();
        EXPECT_TRUE(ui.Close());
    }
    for (const std::string& name : planted)
    {
        const std::wstring marker = folder + L"\\" + std::wstring(name.begin(), name.end()) + L".loaded";
        EXPECT_FALSE(test::FileExists(marker)) << "the planted " << name << " was loaded";
    }
    // The stub is asked in the program's own child, started from the same folder with the same start-up:
    // its answer in the rows shows that the child ran, and the markers that it loaded nothing planted.
    EXPECT_TRUE(SystemStubAnswered(rows)) << "the System folder's MAPISTUB.DLL was not the one called";
}
