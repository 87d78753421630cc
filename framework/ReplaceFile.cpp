#include "framework/ReplaceFile.h"

#include "framework/HResult.h"
#include "framework/SystemLibrary.h"
#include "framework/UniqueHandle.h"

#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

namespace corvane {

namespace {

// SetFileInformationByHandle and its two classes used here, which the headers declare only for Vista and
// later; the layouts are those of FILE_RENAME_INFO and FILE_DISPOSITION_INFO.
using SetFileInformationByHandleProc = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);
constexpr int kFileRenameInfo = 3;
constexpr int kFileDispositionInfo = 4;
struct RenameInformation
{
    union
    {
        BOOLEAN replaceIfExists;
        DWORD flags;
    };
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
};
struct DispositionInformation
{
    BOOLEAN deleteFile;
};

SetFileInformationByHandleProc SetInformationByHandle()
{
    static const auto proc = GetKernelProcAs<SetFileInformationByHandleProc>("SetFileInformationByHandle");
    return proc;
}

// Takes away a link (symbolic link or junction) at path, never what it points to: a directory link goes
// with RemoveDirectoryW, a file link with DeleteFileW. Anything else at path is left as it is.
void RemoveLink(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        ::RemoveDirectoryW(path);
    else
        ::DeleteFileW(path);
}

// The temporary file, deleted when it is not kept: through its handle where Windows can, else by its
// name once the handle is closed.
class CTemporaryFile
{
public:
    CTemporaryFile(std::wstring name, HANDLE file) : name_(std::move(name)), file_(file) {}
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;
    ~CTemporaryFile()
    {
        if (kept_)
            return;
        const auto setInformation = SetInformationByHandle();
        DispositionInformation disposition{TRUE};
        const bool deleted =
            file_ && setInformation &&
            setInformation(file_.Get(), kFileDispositionInfo, &disposition, sizeof(disposition));
        file_.Reset();
        if (!deleted)
            ::DeleteFileW(name_.c_str());
    }

    HANDLE Handle() const { return file_.Get(); }
    const std::wstring& Name() const { return name_; }
    HRESULT Close()
    {
        RETURN_LAST_ERROR_IF_FALSE(::CloseHandle(file_.Release()));
        return S_OK;
    }
    void Keep() { kept_ = true; }

private:
    std::wstring name_;
    CKernelHandle file_;
    bool kept_ = false;
};

// Renames the open file to path through its handle; S_FALSE when this Windows cannot (XP), so that the
// caller renames by name.
HRESULT RenameThroughHandle(HANDLE file, const wchar_t* path)
{
    const auto setInformation = SetInformationByHandle();
    if (!setInformation)
        return S_FALSE;
    const size_t nameBytes = std::wcslen(path) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(RenameInformation) + nameBytes);
    auto* rename = reinterpret_cast<RenameInformation*>(buffer.data());
    rename->replaceIfExists = TRUE;
    rename->rootDirectory = nullptr;
    rename->fileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->fileName, path, nameBytes);
    RETURN_LAST_ERROR_IF_FALSE(
        setInformation(file, kFileRenameInfo, buffer.data(), static_cast<DWORD>(buffer.size())));
    return S_OK;
}

HRESULT RandomBytes(unsigned char (&random)[16])
{
    GUID guid{};
    RETURN_IF_FAILED(::CoCreateGuid(&guid));
    static_assert(sizeof(guid) == sizeof(random));
    std::memcpy(random, &guid, sizeof(random));
    return S_OK;
}

// "Corvane-" and the 16 random bytes as 32 hexadecimal digits, ".tmp", in the folder (ending in a
// backslash).
std::wstring TemporaryFileName(const std::wstring& folder, const unsigned char (&random)[16])
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name = folder + L"Corvane-";
    for (const unsigned char byte : random)
    {
        name += kDigits[byte >> 4];
        name += kDigits[byte & 0xF];
    }
    return name + L".tmp";
}

} // namespace

HRESULT ReplaceFileWith(const wchar_t* path, std::initializer_list<std::string_view> parts)
{
    std::wstring folder(path);
    const size_t lastBackslash = folder.rfind(L'\\');
    folder.resize(lastBackslash == std::wstring::npos ? 0 : lastBackslash + 1);
    if (folder.empty())
        folder = L".\\";

    unsigned char random[16] = {};
    RETURN_IF_FAILED(RandomBytes(random));
    const std::wstring temporaryName = TemporaryFileName(folder, random);
    // CREATE_NEW fails on any name that exists, a link among them, which is not followed.
    ::SetLastError(ERROR_SUCCESS);
    const HANDLE created =
        ::CreateFileW(temporaryName.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return FailureFromLastError();
    CTemporaryFile temporary(temporaryName, created);

    for (const std::string_view part : parts)
    {
        DWORD count = 0;
        RETURN_LAST_ERROR_IF_FALSE(
            ::WriteFile(temporary.Handle(), part.data(), static_cast<DWORD>(part.size()), &count, nullptr));
        if (count != part.size())
            return HResultFromWin32(ERROR_DISK_FULL);
    }
    RETURN_LAST_ERROR_IF_FALSE(::FlushFileBuffers(temporary.Handle()));

    // A link in the report's place is taken away first: a directory junction cannot be replaced by a
    // file, and nothing is ever written through one.
    RemoveLink(path);
    const HRESULT renamed = RenameThroughHandle(temporary.Handle(), path);
    if (renamed == S_OK)
    {
        temporary.Keep();
        return S_OK;
    }
    // A report held open by a reader, a folder without the right: the temporary file goes through its
    // handle. Only a file system that cannot rename this way is tried by name.
    if (FAILED(renamed) && renamed != HResultFromWin32(ERROR_INVALID_PARAMETER) &&
        renamed != HResultFromWin32(ERROR_NOT_SUPPORTED) &&
        renamed != HResultFromWin32(ERROR_INVALID_FUNCTION))
        return renamed;
    // Windows XP, or a file system that does not rename through a handle: by name, which no one else
    // knows, once the handle is closed.
    RETURN_IF_FAILED(temporary.Close());
    RETURN_LAST_ERROR_IF_FALSE(
        ::MoveFileExW(temporary.Name().c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    temporary.Keep();
    return S_OK;
}

} // namespace corvane
