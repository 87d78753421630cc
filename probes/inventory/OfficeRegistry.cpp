#include "probes/inventory/OfficeRegistry.h"

#include "probes/inventory/RegistryRead.h"

#include <algorithm>
#include <cwctype>

namespace corvane {

namespace {

std::wstring TextOrEmpty(HKEY key, const wchar_t* name)
{
    return ReadRegistryText(key, name).value_or(std::wstring());
}

// "16.0": digits, a dot, digits. Its major and minor numbers, for the order.
std::optional<std::pair<unsigned, unsigned>> OfficeVersion(const std::wstring& name)
{
    const size_t dot = name.find(L'.');
    if (dot == 0 || dot == std::wstring::npos || dot + 1 == name.size() || name.size() > 8)
        return std::nullopt;
    unsigned parts[2] = {0, 0};
    for (size_t i = 0; i < name.size(); ++i)
    {
        if (i == dot)
            continue;
        if (!std::iswdigit(name[i]))
            return std::nullopt;
        unsigned& part = parts[i < dot ? 0 : 1];
        part = part * 10 + static_cast<unsigned>(name[i] - L'0');
    }
    return std::make_pair(parts[0], parts[1]);
}

} // namespace

ClickToRunFacts ReadClickToRunConfiguration(HKEY configurationKey)
{
    ClickToRunFacts facts;
    facts.found = true;
    facts.platform = TextOrEmpty(configurationKey, L"Platform");
    facts.version = TextOrEmpty(configurationKey, L"VersionToReport");
    facts.productIds = TextOrEmpty(configurationKey, L"ProductReleaseIds");
    facts.channel = TextOrEmpty(configurationKey, L"CDNBaseUrl");
    if (facts.channel.empty())
        facts.channel = TextOrEmpty(configurationKey, L"UpdateChannel");
    return facts;
}

std::vector<std::wstring> OfficeVersionNames(HKEY officeKey)
{
    std::vector<std::pair<std::pair<unsigned, unsigned>, std::wstring>> versions;
    for (std::wstring& name : RegistrySubkeyNames(officeKey))
    {
        if (const auto version = OfficeVersion(name))
            versions.emplace_back(*version, std::move(name));
    }
    std::stable_sort(versions.begin(), versions.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> names;
    for (auto& version : versions)
        names.push_back(std::move(version.second));
    return names;
}

std::vector<OutlookInstallation> ReadOutlookInstallations(HKEY officeKey)
{
    std::vector<OutlookInstallation> installations;
    for (const std::wstring& name : OfficeVersionNames(officeKey))
    {
        CRegKey outlook;
        if (OpenRegistryKey(officeKey, (name + L"\\Outlook").c_str(), 0, outlook) != ERROR_SUCCESS)
            continue;
        CRegKey installRoot;
        if (OpenRegistryKey(outlook.Get(), L"InstallRoot", 0, installRoot) != ERROR_SUCCESS)
            continue;
        const std::optional<std::wstring> path = ReadRegistryText(installRoot.Get(), L"Path");
        if (!path || path->empty())
            continue;
        OutlookInstallation installation;
        installation.outlook.version = name;
        installation.outlook.path = *path;
        if (const auto bitness = ReadRegistryText(outlook.Get(), L"Bitness"))
            installation.bitness = BitnessOfPlatform(*bitness);
        installations.push_back(std::move(installation));
    }
    return installations;
}

std::optional<Bitness> BitnessOfPlatform(const std::wstring& platform)
{
    if (SameRegistryName(platform, L"x64"))
        return Bitness::X64;
    if (SameRegistryName(platform, L"x86"))
        return Bitness::X86;
    return std::nullopt;
}

} // namespace corvane
