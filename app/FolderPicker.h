#pragma once
// The system's folder picker: the folder dialog of Windows Vista and later where it exists, the shell's
// folder browser on Windows XP.

#include <windows.h>

#include <string>

namespace corvane {

// Lets the user choose a file-system folder, starting at start (when it names one). S_OK with the folder
// in chosen; S_FALSE when the user cancelled, chosen left unchanged; a failure when no picker could be
// shown.
HRESULT PickFolder(HWND owner, const std::wstring& start, const std::wstring& title, std::wstring& chosen);

} // namespace corvane
