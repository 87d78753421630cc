#pragma once
// File helpers for tests: scratch folders in the prefix, whole-file reads, and Unix tools run from Wine.

#include <windows.h>

#include <string>

namespace corvane::test {

// A new empty folder under the temporary folder, removed with its files by the destructor.
class CScratchFolder
{
public:
    CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    ~CScratchFolder();

    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

std::string ToUtf8(const std::wstring& text);

// The Unix path of a Windows path (Wine's Z: drive mapping and drive_c), for tools outside Wine.
std::string UnixPath(const std::wstring& windowsPath);

// Runs a shell command line outside Wine; returns its exit status, or -1 when it cannot run. Its
// standard output and error go into output when given.
int RunUnixCommand(const std::string& command, std::string* output = nullptr);

// The text in single quotes for the shell.
std::string ShellQuote(const std::string& text);

// xmllint --noout on the file: 0 when it parses as well-formed XML.
int CheckWellFormed(const std::wstring& path);

} // namespace corvane::test
