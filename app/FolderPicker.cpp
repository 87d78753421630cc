// The Vista folder dialog's interfaces are declared only for Vista targets. The program targets XP and
// reaches them only through CoCreateInstance, which fails cleanly where the class does not exist; the
// one Vista export it needs is looked up at run time. Nothing else in this file may need Vista.
#undef WINVER
#undef _WIN32_WINNT
#undef NTDDI_VERSION
#define WINVER 0x0600
#define _WIN32_WINNT 0x0600
#define NTDDI_VERSION 0x06000000

#include "app/FolderPicker.h"

#include "framework/ComPtr.h"
#include "framework/HResult.h"
#include "framework/UniqueHandle.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace corvane {

namespace {

void FreeTaskMemory(PIDLIST_ABSOLUTE item)
{
    ::CoTaskMemFree(item);
}
using CItemIdList = CUniqueHandle<PIDLIST_ABSOLUTE, FreeTaskMemory>;

// The shell item of a folder path; none when the path names nothing the shell can parse.
CComPtr<IShellItem> ShellItemOf(const std::wstring& path)
{
    using CreateItem = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
    CComPtr<IShellItem> item;
    if (path.empty())
        return item;
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    const auto create = shell ? reinterpret_cast<CreateItem>(reinterpret_cast<void*>(
                                    ::GetProcAddress(shell, "SHCreateItemFromParsingName")))
                              : nullptr;
    if (create)
        create(path.c_str(), nullptr, IID_IShellItem, item.PutVoid());
    return item;
}

// Fills dialog with the Vista folder dialog; a failure where Windows has none.
HRESULT CreateFolderDialog(const std::wstring& start, const std::wstring& title,
                           CComPtr<IFileOpenDialog>& dialog)
{
    RETURN_IF_FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IFileOpenDialog, dialog.PutVoid()));
    FILEOPENDIALOGOPTIONS options = 0;
    RETURN_IF_FAILED(dialog->GetOptions(&options));
    RETURN_IF_FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST));
    if (!title.empty())
        dialog->SetTitle(title.c_str());
    // SetFolder rather than SetDefaultFolder: the box's folder wins over the one the system remembers.
    if (CComPtr<IShellItem> folder = ShellItemOf(start))
        dialog->SetFolder(folder.Get());
    return S_OK;
}

HRESULT ShowFolderDialog(IFileOpenDialog* dialog, HWND owner, std::wstring& chosen)
{
    const HRESULT shown = dialog->Show(owner);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return S_FALSE;
    RETURN_IF_FAILED(shown);
    CComPtr<IShellItem> result;
    RETURN_IF_FAILED(dialog->GetResult(result.Put()));
    wchar_t* path = nullptr;
    RETURN_IF_FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &path));
    chosen = path;
    ::CoTaskMemFree(path);
    return S_OK;
}

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM /*parameter*/, LPARAM start)
{
    if (message == BFFM_INITIALIZED && start)
        ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

HRESULT BrowseForFolder(HWND owner, const std::wstring& start, const std::wstring& title,
                        std::wstring& chosen)
{
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.empty() ? nullptr : title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    browse.lpfn = &SelectStartFolder;
    browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    CItemIdList item(::SHBrowseForFolderW(&browse));
    if (!item)
        return S_FALSE;
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(item.Get(), path))
        return E_FAIL;
    chosen = path;
    return S_OK;
}

} // namespace

HRESULT PickFolder(HWND owner, const std::wstring& start, const std::wstring& title, std::wstring& chosen)
{
    CComPtr<IFileOpenDialog> dialog;
    if (SUCCEEDED(CreateFolderDialog(start, title, dialog)))
        return ShowFolderDialog(dialog.Get(), owner, chosen);
    return BrowseForFolder(owner, start, title, chosen);
}

} // namespace corvane
