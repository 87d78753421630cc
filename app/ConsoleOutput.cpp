#include "app/ConsoleOutput.h"

namespace corvane {

namespace {

// Older consoles refuse a single write much beyond 64 KB (their shared buffer); a verbose run on a large
// machine prints more than that.
constexpr size_t kConsoleChunk = 8192;

bool IsUsable(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

} // namespace

CConsoleOutput::CConsoleOutput()
{
    // A program of the Windows subsystem gets no console of its own. Output that was redirected
    // ("Corvane.exe /run > rows.txt") arrives as an inherited handle; a console has to be attached to.
    HANDLE inherited = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsUsable(inherited))
    {
        output_ = inherited;
        isConsole_ = IsConsole(inherited);
        return;
    }
    if (!::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    attached_ = true;
    consoleOutput_.Reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
    if (!consoleOutput_)
        return;
    output_ = consoleOutput_.Get();
    isConsole_ = true;
}

CConsoleOutput::~CConsoleOutput()
{
    consoleOutput_.Reset();
    if (attached_)
        ::FreeConsole();
}

void CConsoleOutput::Write(const std::wstring& text) const
{
    if (!output_ || text.empty())
        return;
    DWORD written = 0;
    if (isConsole_)
    {
        for (size_t start = 0, length = 0; start < text.size(); start += length)
        {
            length = text.size() - start < kConsoleChunk ? text.size() - start : kConsoleChunk;
            // A surrogate pair stays in one piece.
            if (length > 1 && IS_HIGH_SURROGATE(text[start + length - 1]))
                --length;
            if (!::WriteConsoleW(output_, text.data() + start, static_cast<DWORD>(length), &written, nullptr))
                return;
        }
        return;
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                            0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    ::WriteFile(output_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace corvane
