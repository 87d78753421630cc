// The operating system probe on the real version service under Wine's per-program Windows version
// settings: a child program is started with HKCU\Software\Wine\AppDefaults\<exe>\Version set, and its
// version record, rows and "os_info" structure must all tell the same story.
#include "tests/probes/system/SystemProbeTesting.h"

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

constexpr const wchar_t* kChildName = L"os_probe_child.exe";

struct WineSetting
{
    const wchar_t* setting;
    const char* record; // what GetVersionExW reports under the setting
    const wchar_t* name;
    const wchar_t* platform;
    const wchar_t* version;
    const wchar_t* product;
    const wchar_t* suites;
};

void PrintTo(const WineSetting& setting, std::ostream* out)
{
    *out << test::ToUtf8(setting.setting);
}

const WineSetting kSettings[] = {
    {L"winxp", "record 5.1.2600 platform 2 sp 3.0 suites 0x0100 type 1 csd 'Service Pack 3'",
     L"Windows XP Service Pack 3", L"WIN32.NT", L"5.1.2600 SP3", L"NT_WORKSTATION", L"SUITE_SINGLEUSERTS"},
    {L"win2k", "record 5.0.2195 platform 2 sp 4.0 suites 0x0000 type 1 csd 'Service Pack 4'",
     L"Windows 2000 Service Pack 4", L"WIN32.NT", L"5.0.2195 SP4", L"NT_WORKSTATION", L""},
    {L"vista", "record 6.0.6002 platform 2 sp 2.0 suites 0x0100 type 1 csd 'Service Pack 2'",
     L"Windows Vista Service Pack 2", L"WIN32.NT", L"6.0.6002 SP2", L"NT_WORKSTATION", L"SUITE_SINGLEUSERTS"},
    // Wine's table gives its win7 setting the server product type.
    {L"win7", "record 6.1.7601 platform 2 sp 1.0 suites 0x0100 type 3 csd 'Service Pack 1'",
     L"Windows NT 6.1 Service Pack 1", L"WIN32.NT", L"6.1.7601 SP1", L"NT_SERVER", L"SUITE_SINGLEUSERTS"},
    // Windows 9x builds carry the version in the build number's high word, and it is shown whole.
    {L"win98", "record 4.10.67766446 platform 1 sp 0.0 suites 0x0000 type 0 csd ' A '", L"Windows 98 SE",
     L"WIN32.WINDOWS", L"4.10.67766446 ", L"WIN_A", L""},
    {L"win95", "record 4.0.67109814 platform 1 sp 0.0 suites 0x0000 type 0 csd ''", L"Windows 95",
     L"WIN32.WINDOWS", L"4.0.67109814 ", L"", L""},
};

struct ChildRun
{
    DWORD exitCode = static_cast<DWORD>(-1);
    std::string probe;
    std::string report;
};

ChildRun RunChildUnder(const wchar_t* setting)
{
    // Wine reads the setting when the child starts; it stays in place until the child has ended. The child
    // reads the prefix's own registry, which no scratch root of this process reaches; no other program
    // runs under the child's name, so no other test sees the setting.
    test::CScratchRegistryValue version(
        HKEY_CURRENT_USER, std::wstring(L"Software\\Wine\\AppDefaults\\") + kChildName, L"Version", setting);
    EXPECT_EQ(ERROR_SUCCESS, version.SetResult()) << "RegSetValueExW AppDefaults Version";

    test::CScratchFolder folder;
    std::wstring commandLine = L"\"" + test::SystemFixturePath(kChildName) + L"\" \"" + folder.Path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ChildRun run;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
    {
        ADD_FAILURE() << "CreateProcessW failed with " << ::GetLastError();
        return run;
    }
    CKernelHandle processHandle(process.hProcess);
    CKernelHandle threadHandle(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.Get(), 120000)) << "child did not end";
    ::GetExitCodeProcess(processHandle.Get(), &run.exitCode);
    run.probe = test::ReadFileBytes(folder.File(L"probe.txt"));
    run.report = test::ReadFileBytes(folder.File(L"Corvane.xml"));
    return run;
}

class OsInfoRealPathTest : public testing::TestWithParam<WineSetting>
{};

} // namespace

TEST_P(OsInfoRealPathTest, RowsAndStructureAgreeWithTheVersionService)
{
    const WineSetting& setting = GetParam();
    const ChildRun run = RunChildUnder(setting.setting);
    ASSERT_EQ(0u, run.exitCode) << "os_probe_child exit code";

    const test::ExpectedOs expected = {setting.name, setting.platform, setting.version, setting.product,
                                       setting.suites};
    std::string probe = std::string(setting.record) + "\nresult 0x00000000\n";
    for (const test::EventRow& row : test::ExpectedOsRows(expected, true))
        probe += "row " + std::to_string(row.icon) + " " + std::to_string(row.indent) + " " +
                 test::ToUtf8(row.text) + "\n";
    EXPECT_EQ(probe, run.probe);
    EXPECT_EQ(test::ReportWithSection(test::ExpectedOsInfo(expected)), run.report);
}

INSTANTIATE_TEST_SUITE_P(WineVersions, OsInfoRealPathTest, testing::ValuesIn(kSettings),
                         [](const testing::TestParamInfo<WineSetting>& info) {
                             return test::ToUtf8(info.param.setting);
                         });
