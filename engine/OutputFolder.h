#pragma once
// The output folder's rules, for both doors. The window takes the folder as the user typed or picked it
// and makes nothing: a folder that is not there fails the save. /run takes the folder after /out, expands
// its variables itself, insists on a full path, and makes the folder, missing parents included, before
// the run begins, since nobody is there to make it.

#include <windows.h>

#include <string>

namespace corvane {

// The folder of the given executable path: cut before the last backslash; "C:\" when there is no
// backslash, or the only one is the first character.
std::wstring OutputFolderFromModulePath(const wchar_t* modulePath);

// The folder of the running program, by the rule above: the output folder of both doors until one is
// given.
std::wstring ProgramFolder();

// The report file's path in the output folder as the window's user typed it: spaces around it and one
// pair of surrounding double quotes are taken off, and a folder left empty is the program's own. A folder
// that /run has made full comes through unchanged.
std::wstring ReportFilePath(const std::wstring& outputFolder, const wchar_t* fileName);

// The failure of a last folder that is a link (junction, symbolic link) or was there before and is
// someone else's: the report is not saved there.
constexpr HRESULT kOutputFolderNotOwn = static_cast<HRESULT>(0x80070005L); // E_ACCESSDENIED

// The folder as given after /out: with its double quotes taken out and its variables expanded.
std::wstring ExpandOutputFolder(const std::wstring& given);

// The usage error (a string id) of an expanded folder that /run does not take, 0 for one it does: a
// folder must be full (C:\... or \\server\share\...), not relative to the working directory or a drive's
// current folder, not a \\?\ or \\.\ path, and no name of it a device (CON, NUL, COM1, ...).
UINT OutputFolderUsageProblem(const std::wstring& folder);

// Expands given (%COMPUTERNAME%, %USERNAME% and any other variable of the environment), resolves it
// against the working directory and makes every folder of it that is missing. folder receives the
// expanded, full path, on failure too, so that a message can name it. A variable that is not set fails
// with HRESULT_FROM_WIN32(ERROR_ENVVAR_NOT_FOUND) before anything is made; when one folder cannot be
// made, those made before it are removed again, so that a failure leaves the disk as it was. The last
// folder is the user's own: made with a protected DACL (the user, Administrators, SYSTEM), and, when it
// is there already, refused with kOutputFolderNotOwn when it is a link or someone else's. Links higher
// up are the system's or an administrator's and are followed as Windows follows them.
HRESULT MakeOutputFolder(const std::wstring& given, std::wstring& folder);

} // namespace corvane
