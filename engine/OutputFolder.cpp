#include "engine/OutputFolder.h"

#include "framework/HResult.h"
#include "framework/PathText.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace corvane {

namespace {

std::wstring Expand(const std::wstring& text)
{
    std::wstring expanded(text.size() + 1, L'\0');
    for (;;)
    {
        const DWORD needed =
            ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0)
            return text;
        if (needed <= expanded.size())
        {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.assign(needed, L'\0');
    }
}

// True when text names a variable between two percent signs that the environment does not hold: the
// system leaves such a name as it is, and a folder called "%USERNAME%" on a share is no one's.
bool NamesUnsetVariable(const std::wstring& text)
{
    for (size_t open = text.find(L'%'); open != std::wstring::npos;)
    {
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos)
            return false;
        const std::wstring reference = text.substr(open, close - open + 1);
        if (reference.size() > 2 && Expand(reference) == reference)
            return true;
        open = text.find(L'%', close + 1);
    }
    return false;
}

// The length of the root of a full path, where no folder is made: "C:\", "\\server\share\", and the
// same after "\\?\" ("\\?\UNC\server\share\" for a share).
size_t RootLength(const std::wstring& path)
{
    size_t start = 0;
    bool share = path.compare(0, 2, L"\\\\") == 0;
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0)
    {
        start = 4;
        share = path.compare(4, 4, L"UNC\\") == 0;
        if (share)
            start = 8;
    }
    else if (share)
    {
        start = 2;
    }
    if (!share)
        return path.size() >= start + 3 && path[start + 1] == L':' ? start + 3 : start;
    // Server and share name, each ended by a backslash.
    const size_t server = path.find(L'\\', start);
    if (server == std::wstring::npos)
        return path.size();
    const size_t shareEnd = path.find(L'\\', server + 1);
    return shareEnd == std::wstring::npos ? path.size() : shareEnd + 1;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folders made by one call, removed again unless the call succeeds.
class CFoldersMade
{
public:
    CFoldersMade() = default;
    CFoldersMade(const CFoldersMade&) = delete;
    CFoldersMade& operator=(const CFoldersMade&) = delete;
    ~CFoldersMade()
    {
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder)
            ::RemoveDirectoryW(folder->c_str());
    }

    // Makes the folder unless it is there. The last one, the user's own, is made with security of its own
    // (security, else the folder inherits its parent's).
    HRESULT Make(const std::wstring& path, bool last, SECURITY_ATTRIBUTES* security = nullptr)
    {
        // An existing folder is taken as it is: on a share one may be allowed to write into a folder
        // without being allowed to create it.
        if (IsFolder(path))
            return S_OK;
        ::SetLastError(ERROR_SUCCESS);
        if (::CreateDirectoryW(path.c_str(), security))
        {
            made_.push_back(path);
            return S_OK;
        }
        const HRESULT hr = FailureFromLastError();
        // A drop box lets a user create below a folder whose attributes they may not read: such a folder
        // on the way is no failure; the next folder made below it says whether it can be used.
        const bool unreadable = ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
                                ::GetLastError() == ERROR_ACCESS_DENIED;
        if (!last && unreadable &&
            (hr == HResultFromWin32(ERROR_ALREADY_EXISTS) || hr == HResultFromWin32(ERROR_ACCESS_DENIED)))
            return S_OK;
        if (hr == HResultFromWin32(ERROR_ALREADY_EXISTS))
            return IsFolder(path) ? S_OK : HResultFromWin32(ERROR_DIRECTORY);
        return hr;
    }

    void Keep() { made_.clear(); }

private:
    std::vector<std::wstring> made_;
};

// The SIDs that own what the user makes, from the process token: the user, and the token's default owner
// (the Administrators group for an elevated administrator).
class CTokenOwners
{
public:
    CTokenOwners()
    {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        CKernelHandle owned(token);
        user_ = Query(token, TokenUser);
        owner_ = Query(token, TokenOwner);
    }

    PSID User() const
    {
        return user_.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user_.data())->User.Sid;
    }
    PSID DefaultOwner() const
    {
        return owner_.empty() ? nullptr : reinterpret_cast<const TOKEN_OWNER*>(owner_.data())->Owner;
    }
    bool Owns(PSID owner) const
    {
        return (User() && ::EqualSid(owner, User())) || (DefaultOwner() && ::EqualSid(owner, DefaultOwner()));
    }

private:
    static std::vector<BYTE> Query(HANDLE token, TOKEN_INFORMATION_CLASS kind)
    {
        DWORD size = 0;
        ::GetTokenInformation(token, kind, nullptr, 0, &size);
        std::vector<BYTE> data(size);
        if (size == 0 || !::GetTokenInformation(token, kind, data.data(), size, &size))
            data.clear();
        return data;
    }

    std::vector<BYTE> user_;
    std::vector<BYTE> owner_;
};

// A protected DACL for a folder that only the user, Administrators and SYSTEM may use; null when it
// cannot be made (the folder then inherits its parent's).
class COwnFolderSecurity
{
public:
    explicit COwnFolderSecurity(const CTokenOwners& owners)
    {
        wchar_t* user = nullptr;
        if (!owners.User() || !::ConvertSidToStringSidW(owners.User(), &user))
            return;
        CUniqueHandle<HLOCAL, detail::FreeLocal> userText(user);
        const std::wstring sddl =
            std::wstring(L"D:P(A;OICI;FA;;;") + user + L")(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                    &descriptor, nullptr))
            return;
        descriptor_.Reset(descriptor);
        attributes_.nLength = sizeof(attributes_);
        attributes_.lpSecurityDescriptor = descriptor;
        attributes_.bInheritHandle = FALSE;
    }
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    CUniqueHandle<HLOCAL, detail::FreeLocal> descriptor_;
    SECURITY_ATTRIBUTES attributes_{};
};

// The user's own folder that the report goes into must be a folder, not a link to one elsewhere, and,
// when it was there before, the user's: a folder that someone else made or linked on a shared drop box
// would take the report where its maker can read or change it. A file system that keeps no owner (FAT)
// has no one else's folders.
HRESULT CheckOwnFolder(const std::wstring& folder, const CTokenOwners& owners)
{
    ::SetLastError(ERROR_SUCCESS);
    const CFileHandle handle(
        ::CreateFileW(folder.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle)
        return FailureFromLastError();
    BY_HANDLE_FILE_INFORMATION information{};
    RETURN_LAST_ERROR_IF_FALSE(::GetFileInformationByHandle(handle.Get(), &information));
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kOutputFolderNotOwn;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status = ::GetSecurityInfo(handle.Get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                           nullptr, nullptr, nullptr, &descriptor);
    CUniqueHandle<HLOCAL, detail::FreeLocal> owned(descriptor);
    if (status != ERROR_SUCCESS || !owner)
        return S_OK;
    return owners.Owns(owner) ? S_OK : kOutputFolderNotOwn;
}

bool IsDeviceName(std::wstring name)
{
    // "NUL", "nul.txt" and "COM1 " all name the device.
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.'))
        name.pop_back();
    for (wchar_t& c : name)
        c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    {
        if (name == device)
            return true;
    }
    return name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0) &&
           name[3] >= L'1' && name[3] <= L'9';
}

} // namespace

UINT OutputFolderUsageProblem(const std::wstring& folder)
{
    if (folder.compare(0, 4, L"\\\\?\\") == 0 || folder.compare(0, 4, L"\\\\.\\") == 0)
        return IDS_USAGE_FOLDER_NOT_FULL;
    const bool drive = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\' &&
                       ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
    const bool share = folder.size() > 2 && folder.compare(0, 2, L"\\\\") == 0 && folder[2] != L'\\';
    if (!drive && !share)
        return IDS_USAGE_FOLDER_NOT_FULL;
    for (size_t start = drive ? 3 : 2; start < folder.size();)
    {
        size_t end = folder.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = folder.size();
        if (IsDeviceName(folder.substr(start, end - start)))
            return IDS_USAGE_FOLDER_DEVICE;
        start = end + 1;
    }
    return 0;
}

std::wstring ExpandOutputFolder(const std::wstring& given)
{
    // No folder name holds a double quote.
    std::wstring unquoted;
    for (wchar_t c : given)
    {
        if (c != L'"')
            unquoted += c;
    }
    return Expand(unquoted);
}

HRESULT MakeOutputFolder(const std::wstring& given, std::wstring& folder)
{
    folder = ExpandOutputFolder(given);
    if (NamesUnsetVariable(given))
        return HResultFromWin32(ERROR_ENVVAR_NOT_FOUND);

    const std::wstring full = FullPath(folder);
    if (full.empty())
        return HResultFromWin32(ERROR_BAD_PATHNAME);
    folder = full;

    while (folder.size() > RootLength(folder) && folder.back() == L'\\')
        folder.pop_back();
    CFoldersMade made;
    const size_t root = RootLength(folder);
    for (size_t end = folder.find(L'\\', root); end != std::wstring::npos; end = folder.find(L'\\', end + 1))
        RETURN_IF_FAILED(made.Make(folder.substr(0, end), false));
    if (folder.size() > root)
    {
        const CTokenOwners owners;
        COwnFolderSecurity security(owners);
        RETURN_IF_FAILED(made.Make(folder, true, security.Attributes()));
        RETURN_IF_FAILED(CheckOwnFolder(folder, owners));
    }
    made.Keep();
    return S_OK;
}

std::wstring OutputFolderFromModulePath(const wchar_t* modulePath)
{
    const std::wstring path(modulePath ? modulePath : L"");
    const size_t lastBackslash = path.rfind(L'\\');
    if (lastBackslash == std::wstring::npos || lastBackslash == 0)
        return L"C:\\";
    return path.substr(0, lastBackslash);
}

std::wstring ProgramFolder()
{
    std::wstring path;
    QueryProgramPath(path); // without a path, the fallback folder
    return OutputFolderFromModulePath(path.c_str());
}

std::wstring ReportFilePath(const std::wstring& outputFolder, const wchar_t* fileName)
{
    const auto trimSpaces = [](const std::wstring& text) {
        const size_t first = text.find_first_not_of(L' ');
        return first == std::wstring::npos ? std::wstring()
                                           : text.substr(first, text.find_last_not_of(L' ') - first + 1);
    };
    // Spaces around the text and one pair of double quotes (Explorer's "Copy as path") are no part of
    // the folder; a folder left empty would otherwise name the root of the current drive.
    std::wstring folder = trimSpaces(outputFolder);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = trimSpaces(folder.substr(1, folder.size() - 2));
    if (folder.empty())
        folder = ProgramFolder();
    EnsureTrailingBackslash(folder);
    return folder + fileName;
}

} // namespace corvane
