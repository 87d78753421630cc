#pragma once
// The rules that turn a version record of the system into the operating system record.

#include "probes/system/OsInfo.h"

#include <string>

namespace corvane {

// Platform text of the NT family, and the one chosen here for the Windows 9x family.
inline constexpr const wchar_t* PlatformNt = L"WIN32.NT";
inline constexpr const wchar_t* PlatformWindows = L"WIN32.WINDOWS";

// Fills the version numbers, name, platform, service pack, product type and suites of info from record.
// extended says whether the record's extended fields (service-pack numbers, suite mask, product type)
// were filled by the system; without them an NT product type comes from the registry
// (QueryProductOptions). The size and language fields are left alone.
void ApplyVersionRecord(OsInfo* info, const OSVERSIONINFOEXW& record, bool extended);

// Writes the names of the suites in suiteMask, joined by "|", into info->suites; bits without a name
// are ignored. Returns the number of characters written.
int FormatSuiteNames(OsInfo* info, WORD suiteMask);

// "major.minor.build servicepack": the version as the report and the event list show it. With no
// service pack the text ends in one blank.
std::wstring FormatVersionText(const OsInfo& info);

} // namespace corvane
