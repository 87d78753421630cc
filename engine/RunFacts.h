#pragma once
// What one probe of a run leaves for a later one: a plain record that each run starts afresh, so that
// nothing a run finds comes from the run before it.

#include "probes/findings/FindingFacts.h"
#include "probes/system/OsInfo.h"

#include <string>

namespace corvane {

// The Outlook mail client's settings from Clients\Mail\Microsoft Outlook: what a look without that key
// leaves is the record's empty state.
struct OutlookClientSettings
{
    BOOL hasLcidKeys = FALSE;
    std::wstring msiComponentId;
    std::wstring msiApplicationLcid; // whole registry data: every string with its terminator
    std::wstring msiOfficeLcid;      // whole registry data: every string with its terminator
    std::wstring dllPath;
    std::wstring dllPathEx;
};

struct RunFacts
{
    OsInfo osInfo{};
    std::wstring systemFolder;
    std::wstring windowsFolder;
    std::wstring programFilesFolder;
    std::wstring commonFilesFolder;
    OutlookClientSettings outlook;
    std::wstring outlookFolder;
    // What the run examined, as the finding rules read it: filled by the steps as they run and by the
    // inventory; what no step looked at stays "not examined".
    FindingFacts examined;
};

} // namespace corvane
