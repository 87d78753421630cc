// Corvane.exe as it starts, and as it grows at its first run: driven from outside through its window.
#include "res/resource.h"
#include "tests/app/TestWorld.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <utility>

using namespace corvane::uitest;

namespace {

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// The client area in screen coordinates.
RECT ClientRect(HWND window)
{
    RECT rect{};
    ::GetClientRect(window, &rect);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasSizingFrame(HWND window)
{
    return (::GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
}

std::wstring ExecutableFolder()
{
    const std::wstring path = CorvaneExecutable();
    return path.substr(0, path.rfind(L'\\'));
}

// An icon's pixels as 0xAARRGGBB, rows from the top.
std::vector<uint32_t> IconPixels(HICON icon)
{
    std::vector<uint32_t> pixels;
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return pixels;
    BITMAP colour{};
    ::GetObjectW(info.hbmColor, sizeof(colour), &colour);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = colour.bmWidth;
    format.bmiHeader.biHeight = -colour.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>(colour.bmWidth) * static_cast<size_t>(colour.bmHeight));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(colour.bmHeight), pixels.data(), &format,
                DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return pixels;
}

// The icons that Wine gave a window's X window (_NET_WM_ICON: width, height and the pixels of each), by
// width, as xprop reads them.
std::map<int, std::vector<uint32_t>> XWindowIcons(HWND window)
{
    std::map<int, std::vector<uint32_t>> icons;
    const auto xWindow = reinterpret_cast<ULONG_PTR>(::GetPropW(window, L"__wine_x11_whole_window"));
    if (!xWindow)
        return icons;
    std::string output;
    if (corvane::test::RunUnixCommand("xprop -notype -id " + std::to_string(xWindow) + " 32c _NET_WM_ICON",
                                      &output) != 0)
        return icons;
    const size_t equals = output.find('=');
    if (equals == std::string::npos)
        return icons;
    std::vector<uint32_t> values;
    const char* next = output.c_str() + equals + 1;
    for (;;)
    {
        char* end = nullptr;
        const unsigned long value = std::strtoul(next, &end, 10);
        if (end == next)
            break;
        values.push_back(static_cast<uint32_t>(value));
        next = *end == ',' ? end + 1 : end;
    }
    for (size_t at = 0; at + 2 <= values.size();)
    {
        const size_t count = static_cast<size_t>(values[at]) * values[at + 1];
        if (at + 2 + count > values.size())
            break;
        icons[static_cast<int>(values[at])].assign(values.begin() + static_cast<std::ptrdiff_t>(at + 2),
                                                   values.begin() +
                                                       static_cast<std::ptrdiff_t>(at + 2 + count));
        at += 2 + count;
    }
    return icons;
}

class UiStartUp : public CUiTest
{};

// The text of a manifest resource of the module; empty when it has none.
std::string ManifestText(HMODULE module, int id)
{
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_MANIFEST);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, ::SizeofResource(module, found)) : std::string();
}

bool Contains(const std::string& text, const std::string& pattern)
{
    return std::regex_search(text, std::regex(pattern));
}

} // namespace

// The manifest that Windows reads when it starts the process: without supportedOS entries Windows 8.1 and
// later report version 6.2, and without an execution level a 32-bit program's writes to protected
// folders and keys are silently virtualised. Both programs are read, as data, whatever this test
// program's bitness: the build puts the other one beside its own, and no 32-bit code need run to read
// Corvane.exe's.
TEST(CorvaneManifest, AsksForTheInvokersRightsDeclaresVistaTo11TheVersion6CommonControlsAndSystemDpi)
{
    const std::wstring folder = CorvaneExecutable().substr(0, CorvaneExecutable().rfind(L'\\') + 1);
    for (const auto& [program, architecture] :
         {std::pair<std::wstring, std::string>{L"Corvane.exe", "x86"},
          std::pair<std::wstring, std::string>{L"Corvane64.exe", "amd64"}})
    {
        SCOPED_TRACE(std::string(program.begin(), program.end()));
        HMODULE module = ::LoadLibraryExW((folder + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module) << "LoadLibraryExW failed: " << ::GetLastError();
        const std::string manifest = ManifestText(module, 1);
        const std::string controlsManifest = ManifestText(module, 1024);
        ::FreeLibrary(module);
        ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";

        EXPECT_TRUE(Contains(manifest, R"(<requestedExecutionLevel\s[^>]*level="asInvoker")")) << manifest;
        for (const char* windows : {"e2011457-1546-43c5-a5fe-008deee3d3f0",  // Vista
                                    "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  // 7
                                    "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  // 8
                                    "1f676c76-80e1-4239-95bb-83d0f6d0da78",  // 8.1
                                    "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) // 10 and 11
        {
            EXPECT_TRUE(Contains(manifest, std::string(R"(<supportedOS\s+Id="\{)") + windows + R"(\}")"))
                << windows << " missing:\n"
                << manifest;
        }
        EXPECT_TRUE(Contains(manifest, R"(<assemblyIdentity\s[^>]*processorArchitecture=")" + architecture +
                                           R"("[^>]*name="Corvane")"))
            << manifest;
        EXPECT_TRUE(
            Contains(manifest, R"(<assemblyIdentity\s[^>]*name="Microsoft.Windows.Common-Controls"\s+)"
                               R"(version="6.0.0.0"\s+processorArchitecture=")" +
                                   architecture + R"("\s+publicKeyToken="6595b64144ccf1df")"))
            << manifest;
        EXPECT_TRUE(Contains(manifest, R"(<dpiAware\s[^>]*>true</dpiAware>)")) << manifest;
        // The common controls' own manifest must name the same processor, or the activation context fails.
        EXPECT_TRUE(Contains(controlsManifest, R"(name="Microsoft.Windows.Common-Controls"\s+)"
                                               R"(version="6.0.0.0"\s+processorArchitecture=")" +
                                                   architecture + R"(")"))
            << controlsManifest;
        EXPECT_FALSE(Contains(controlsManifest, R"(processorArchitecture="(?!)" + architecture + "\")"))
            << controlsManifest;
    }
}

TEST_F(UiStartUp, ShowsTheSettingsAndExecuteButNoEventListAndNoSizingFrame)
{
    HWND group = ::GetDlgItem(ui.Window(), -1);
    ASSERT_NE(nullptr, group);
    wchar_t groupText[64] = {};
    ::GetWindowTextW(group, groupText, 64);
    EXPECT_STREQ(L"Test Settings", groupText);

    EXPECT_TRUE(ui.IsVisible(IDC_EXECUTE));
    EXPECT_TRUE(ui.IsEnabled(IDC_EXECUTE));
    EXPECT_EQ(L"Execute", ui.Text(IDC_EXECUTE));
    EXPECT_TRUE(ui.IsVisible(IDC_STOP));
    EXPECT_FALSE(ui.IsEnabled(IDC_STOP)) << "Stop is enabled before any run";
    EXPECT_EQ(L"Stop", ui.Text(IDC_STOP));
    EXPECT_TRUE(ui.IsChecked(IDC_VERBOSE)) << "verbose mode is off";
    EXPECT_TRUE(ui.IsChecked(IDC_SAVE_REPORT)) << "save report is off";
    EXPECT_EQ(L"Run test in &verbose mode", ui.Text(IDC_VERBOSE));
    EXPECT_EQ(L"Save test results &report", ui.Text(IDC_SAVE_REPORT));
    EXPECT_EQ(L"&Output Folder:", ui.Text(IDC_OUTPUT_LABEL));
    EXPECT_EQ(L"&Browse...", ui.Text(IDC_BROWSE));
    EXPECT_EQ(ExecutableFolder(), ui.Text(IDC_OUTPUT_FOLDER));
    EXPECT_FALSE(ui.IsVisible(IDC_STATUS_TEXT)) << "status text shows while idle";
    EXPECT_FALSE(ui.IsVisible(IDC_PROGRESS)) << "progress bar shows while idle";

    // The compact window ends above the event list.
    const RECT client = ClientRect(ui.Window());
    const RECT list = WindowRect(ui.Control(IDC_EVENT_LIST));
    EXPECT_GE(list.top, client.bottom) << "the event list is inside the compact window";
    EXPECT_FALSE(HasSizingFrame(ui.Window()));
    const SIZE full = TemplateWindowSize();
    const RECT window = WindowRect(ui.Window());
    EXPECT_EQ(full.cx, window.right - window.left);
    EXPECT_LT(window.bottom - window.top, full.cy);
}

TEST_F(UiStartUp, TheWindowHasTheApplicationIconAsItsLargeAndItsSmallIcon)
{
    // Wine 8 passes no message that carries an icon handle from one process to another: WM_GETICON sent
    // from here comes back empty whatever the window holds. The window's large and small icon are what
    // Wine gives its X window, where any other program reads them.
    const auto icons = XWindowIcons(ui.Window());
    for (int size : {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CXSMICON)})
    {
        HICON expected = static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, expected);
        const auto found = icons.find(size);
        ASSERT_NE(icons.end(), found) << "no icon of " << size << " pixels; icons: " << icons.size();
        EXPECT_TRUE(IconPixels(expected) == found->second) << "the " << size << "-pixel icon is not icon 128";
        ::DestroyIcon(expected);
    }
}

TEST_F(UiStartUp, TheFirstExecuteGrowsTheWindowToItsTemplateSizeWithASizingFrame)
{
    RunTest(kReports, false, false);
    const SIZE full = TemplateWindowSize();
    ASSERT_GT(full.cx, 0);
    const RECT window = WindowRect(ui.Window());
    EXPECT_EQ(full.cx, window.right - window.left);
    EXPECT_EQ(full.cy, window.bottom - window.top);
    EXPECT_TRUE(HasSizingFrame(ui.Window()));

    const RECT client = ClientRect(ui.Window());
    const RECT list = WindowRect(ui.Control(IDC_EVENT_LIST));
    EXPECT_TRUE(ui.IsVisible(IDC_EVENT_LIST));
    EXPECT_LT(list.top, client.bottom);
    EXPECT_LE(list.bottom, client.bottom) << "the event list is cut off";
    EXPECT_LE(list.right, client.right) << "the event list is cut off";
    EXPECT_GT(ui.RowCount(), 0);

    // A second run does not resize it again.
    ASSERT_TRUE(::SetWindowPos(ui.Window(), nullptr, 0, 0, full.cx + 40, full.cy + 30,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    RunTest(kReports, false, false);
    const RECT after = WindowRect(ui.Window());
    EXPECT_EQ(full.cx + 40, after.right - after.left);
    EXPECT_EQ(full.cy + 30, after.bottom - after.top);
}

TEST_F(UiStartUp, TheExpandedWindowCannotBeMadeSmallerThanItsTemplate)
{
    RunTest(kReports, false, false);
    const SIZE full = TemplateWindowSize();
    ASSERT_TRUE(::SetWindowPos(ui.Window(), nullptr, 0, 0, full.cx - 100, full.cy - 100,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    const RECT window = WindowRect(ui.Window());
    EXPECT_EQ(full.cx, window.right - window.left);
    EXPECT_EQ(full.cy, window.bottom - window.top);
}

TEST_F(UiStartUp, EnlargingTheWindowGrowsTheEventListAndKeepsItsMargins)
{
    RunTest(kReports, false, false);
    const RECT clientBefore = ClientRect(ui.Window());
    const RECT listBefore = WindowRect(ui.Control(IDC_EVENT_LIST));
    const RECT window = WindowRect(ui.Window());
    ASSERT_TRUE(::SetWindowPos(ui.Window(), nullptr, 0, 0, window.right - window.left + 120,
                               window.bottom - window.top + 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(ui.Responds());
    const RECT clientAfter = ClientRect(ui.Window());
    const RECT listAfter = WindowRect(ui.Control(IDC_EVENT_LIST));
    EXPECT_EQ(listBefore.left - clientBefore.left, listAfter.left - clientAfter.left);
    EXPECT_EQ(listBefore.top - clientBefore.top, listAfter.top - clientAfter.top);
    EXPECT_EQ(clientBefore.right - listBefore.right, clientAfter.right - listAfter.right);
    EXPECT_EQ(clientBefore.bottom - listBefore.bottom, clientAfter.bottom - listAfter.bottom);
    EXPECT_EQ(listBefore.right - listBefore.left + 120, listAfter.right - listAfter.left);
    EXPECT_EQ(listBefore.bottom - listBefore.top + 80, listAfter.bottom - listAfter.top);
}
