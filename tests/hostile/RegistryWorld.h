#pragma once
// The registry keys and files that the probes read, written for sample machines and hostile cases in
// the test's own prefix.

#include "framework/UniqueHandle.h"

#include <string>
#include <vector>

namespace corvane::scale {

inline constexpr const wchar_t* kMailKey = L"SOFTWARE\\Clients\\Mail";
inline constexpr const wchar_t* kOutlookClientName = L"Microsoft Outlook";
inline constexpr const wchar_t* kMessagingKey = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem";
inline constexpr const wchar_t* kAppPathsKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
// Every per-user language key that a case makes is HKCU\Software\ followed by a name with this start.
inline constexpr const wchar_t* kLanguageKeyStart = L"CorvaneLang";

// Creates (or opens) the key for writing; an empty handle when the registry refused it.
CRegKey CreateKey(HKEY root, const std::wstring& path);

// Stores exactly these bytes: the bytes after them are never taken for a forgotten terminator.
bool SetRawValue(HKEY key, const std::wstring& name, DWORD type, const std::vector<BYTE>& data);
bool SetStringValue(HKEY key, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);

void DeleteTree(HKEY root, const std::wstring& path);

// Removes the mail clients, messaging subsystem and Outlook application path keys and every language key
// that a case made.
void ClearProbedKeys();

// A file that the build made, by its path below the build folder ("fixtures/mail/bin/x.dll"), as Windows
// sees it.
std::wstring BuildFile(const std::wstring& relative);

// Puts the mock MAPI library in the System folder as MAPISTUB.DLL and makes Wine load that file rather
// than its own library (which has no version record), so that whole runs go through every section. The
// prefix's file is a hard link shared with the template prefix: it is unlinked, never written through.
// The library is given by its path below the build folder.
bool InstallMockMapiStub(const std::wstring& library = L"fixtures/mail/bin/mail_mock_mapi.dll");

// The whole data of a string as the registry stores it: the units, then a terminator.
std::vector<BYTE> StringBytes(const std::wstring& text, bool terminated = true);

} // namespace corvane::scale
