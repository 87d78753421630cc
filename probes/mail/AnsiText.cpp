#include "probes/mail/AnsiText.h"

#include <windows.h>

namespace corvane {

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int units = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string converted(static_cast<size_t>(length), '\0');
    const int written = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), units, converted.data(), length,
                                              nullptr, nullptr);
    converted.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return converted;
}

std::wstring FromAnsi(const char* text, size_t length)
{
    if (!text || length == 0)
        return std::wstring();
    const int bytes = static_cast<int>(length);
    const int units = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, bytes, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring converted(static_cast<size_t>(units), L'\0');
    const int written = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, bytes, converted.data(), units);
    converted.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return converted;
}

} // namespace corvane
