// Drives Corvane.exe through the states a person should look at, and has X take a screenshot of each:
// the compact dialog, the expanded dialog after a verbose run, the event list's context menu, the folder
// picker and the About box.
// Usage (under Wine, in an X session): ui_screens.exe UNIX_OUTPUT_FOLDER
#include "res/resource.h"
#include "tests/app/UiDriver.h"
#include "tests/support/TestFiles.h"

#include <cstdio>
#include <string>

using namespace corvane;

namespace {

void Shoot(const std::string& folder, const char* name)
{
    ::Sleep(800); // the last repaint
    const std::string path = folder + "/" + name + ".png";
    test::RunUnixCommand("import -window root " + test::ShellQuote(path));
    std::printf("%s\n", path.c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: ui_screens.exe UNIX_OUTPUT_FOLDER\n");
        return 2;
    }
    std::string folder;
    for (const wchar_t* c = argv[1]; *c; ++c)
        folder += static_cast<char>(*c);

    uitest::CUiDriver ui;
    if (!ui.Start())
    {
        std::fprintf(stderr, "Corvane.exe did not start\n");
        return 1;
    }
    Shoot(folder, "compact");

    ui.SetChecked(IDC_VERBOSE, true);
    ui.SetChecked(IDC_SAVE_REPORT, false);
    ui.Click(IDC_EXECUTE);
    ui.WaitUntilIdle(120000);
    Shoot(folder, "expanded");

    if (ui.RightClickRow(3))
    {
        if (HWND menu = uitest::CUiDriver::WaitForMenu(10000))
        {
            Shoot(folder, "context-menu");
            ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
            ::Sleep(300);
        }
    }

    ui.ClickWithoutWaiting(IDC_BROWSE);
    if (HWND picker = ui.WaitForOwnedDialog(10000))
    {
        Shoot(folder, "folder-picker");
        ::PostMessageW(::GetDlgItem(picker, IDCANCEL), BM_CLICK, 0, 0);
        ::Sleep(500);
    }

    ::PostMessageW(ui.Window(), WM_SYSCOMMAND, 0x10, 0);
    if (HWND about = ui.WaitForOwnedDialog(10000))
    {
        Shoot(folder, "about");
        uitest::CUiDriver::PressOk(about);
        ::Sleep(300);
    }
    return ui.Close() ? 0 : 1;
}
