#include "tests/support/TestFiles.h"

#include "framework/UniqueHandle.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace corvane::test {

namespace {
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}
} // namespace

CScratchFolder::CScratchFolder()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    wchar_t name[64];
    std::swprintf(name, 64, L"corvane-test-%lu-%ld", ::GetCurrentProcessId(),
                  ::InterlockedIncrement(&counter));
    path_ = std::wstring(temp) + name;
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

CScratchFolder::~CScratchFolder()
{
    RemoveTree(path_);
}

std::string ReadFileBytes(const std::wstring& path)
{
    CKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
    {
        file.Release();
        return std::string();
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

std::string UnixPath(const std::wstring& windowsPath)
{
    using WineGetUnixFileName = char*(CDECL*)(const wchar_t*);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto convert = reinterpret_cast<WineGetUnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (!convert)
        return std::string();
    char* unixName = convert(windowsPath.c_str());
    if (!unixName)
        return std::string();
    std::string result(unixName);
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}

int RunUnixCommand(const std::string& command, std::string* output)
{
    // Wine starts a Unix program named by its DOS path as a native process, but hands back no handle
    // to wait on; the shell leaves its output and exit status in files that are polled for here.
    CScratchFolder exchange;
    const std::string outputFile = UnixPath(exchange.File(L"output"));
    const std::string statusFile = UnixPath(exchange.File(L"status"));
    const std::string script = "(" + command + ") >'" + outputFile + "' 2>&1; echo $? >'" + statusFile +
                               ".part'; mv '" + statusFile + ".part' '" + statusFile + "'";
    std::wstring commandLine = L"Z:\\bin\\sh -c \"";
    for (char c : script)
    {
        if (c == '"')
            commandLine += L'\\';
        commandLine += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    commandLine += L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    CKernelHandle processHandle(process.hProcess);
    CKernelHandle threadHandle(process.hThread);

    const std::wstring status = exchange.File(L"status");
    for (int waited = 0; waited < 120000 && !FileExists(status); waited += 20)
        ::Sleep(20);
    if (!FileExists(status))
        return -1;
    if (output)
        *output = ReadFileBytes(exchange.File(L"output"));
    return std::atoi(ReadFileBytes(status).c_str());
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int CheckWellFormed(const std::wstring& path)
{
    return RunUnixCommand("xmllint --noout " + ShellQuote(UnixPath(path)), nullptr);
}

} // namespace corvane::test
