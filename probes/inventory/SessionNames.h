#pragma once
// The names of this computer and of the user that runs the program, as Windows gives them to programs
// (%COMPUTERNAME% and %USERNAME%).

#include <string>

#include <windows.h>

namespace corvane {

// The NetBIOS name of the computer; name is emptied first and stays empty on failure.
HRESULT QueryComputerName(std::wstring& name);

// The logon name of the user whose token the program runs with; as for QueryComputerName.
HRESULT QueryUserName(std::wstring& name);

} // namespace corvane
