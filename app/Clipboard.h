#pragma once
// Text for the clipboard: the event rows copied from the window.

#include <windows.h>

#include <string>

namespace corvane {

// Puts the text on the clipboard as Unicode text (the system offers it in the other text formats).
HRESULT CopyTextToClipboard(HWND owner, const std::wstring& text);

} // namespace corvane
