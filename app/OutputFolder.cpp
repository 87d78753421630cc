#include "app/OutputFolder.h"

#include "framework/HResult.h"

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

std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return std::wstring();
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return std::wstring();
    full.resize(written);
    return full;
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

    HRESULT Make(const std::wstring& path)
    {
        // An existing folder is taken as it is: on a share one may be allowed to write into a folder
        // without being allowed to create it.
        if (IsFolder(path))
            return S_OK;
        ::SetLastError(ERROR_SUCCESS);
        if (::CreateDirectoryW(path.c_str(), nullptr))
        {
            made_.push_back(path);
            return S_OK;
        }
        const HRESULT hr = FailureFromLastError();
        if (hr == HResultFromWin32(ERROR_ALREADY_EXISTS))
            return IsFolder(path) ? S_OK : HResultFromWin32(ERROR_DIRECTORY);
        return hr;
    }

    void Keep() { made_.clear(); }

private:
    std::vector<std::wstring> made_;
};

} // namespace

HRESULT MakeOutputFolder(const std::wstring& given, std::wstring& folder)
{
    // No folder name holds a double quote; one is left over when a quoted folder ends in a backslash
    // ("/out:"C:\Reports\"" reaches the program as C:\Reports").
    std::wstring unquoted;
    for (wchar_t c : given)
    {
        if (c != L'"')
            unquoted += c;
    }
    folder = Expand(unquoted);
    if (NamesUnsetVariable(unquoted))
        return HResultFromWin32(ERROR_ENVVAR_NOT_FOUND);

    const std::wstring full = FullPath(folder);
    if (full.empty())
        return HResultFromWin32(ERROR_BAD_PATHNAME);
    folder = full;

    CFoldersMade made;
    const size_t root = RootLength(folder);
    for (size_t end = folder.find(L'\\', root); end != std::wstring::npos; end = folder.find(L'\\', end + 1))
        RETURN_IF_FAILED(made.Make(folder.substr(0, end)));
    if (folder.size() > root && folder.back() != L'\\')
        RETURN_IF_FAILED(made.Make(folder));
    made.Keep();
    return S_OK;
}

} // namespace corvane
