#pragma once
// The packaged apps registered for the user, by the key that Windows keeps for each one below
// HKCU\Software\Classes\Local Settings\Software\Microsoft\Windows\CurrentVersion\AppModel\Repository\Packages
// (Windows 8 and later): its name is the package's full name, family first.

#include <windows.h>

#include <string>

namespace corvane {

// The full name of the first package below the open Packages key whose name starts with familyPrefix
// ("Microsoft.OutlookForWindows_"), in any case; empty when there is none.
std::wstring FindRegisteredPackage(HKEY packagesKey, const std::wstring& familyPrefix);

} // namespace corvane
