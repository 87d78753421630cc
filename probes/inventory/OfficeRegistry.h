#pragma once
// What Office leaves in HKLM\SOFTWARE\Microsoft\Office: the Click-to-Run configuration, and each classic
// Outlook installed by version, with the bitness that Windows Installer recorded for it.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The open ClickToRun\Configuration key: Platform, VersionToReport, ProductReleaseIds, and CDNBaseUrl
// (else UpdateChannel) for the channel.
ClickToRunFacts ReadClickToRunConfiguration(HKEY configurationKey);

// One Office version's Outlook: InstallRoot "Path", and "Bitness" ("x86" or "x64") where Office 2010 and
// later wrote it.
struct OutlookInstallation
{
    InstalledOutlookFacts outlook;
    std::optional<Bitness> bitness;
};

// Every Office version key of the open Office key (OfficeVersionNames) whose Outlook\InstallRoot has a
// Path, oldest first.
std::vector<OutlookInstallation> ReadOutlookInstallations(HKEY officeKey);

// The names of the open Office key's version subkeys ("16.0": digits, a dot, digits), oldest first.
std::vector<std::wstring> OfficeVersionNames(HKEY officeKey);

// "x86" and "x64" as Office writes them, in any case; none for any other text.
std::optional<Bitness> BitnessOfPlatform(const std::wstring& platform);

} // namespace corvane
