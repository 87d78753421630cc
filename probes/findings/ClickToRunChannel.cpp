// The channel GUIDs are those of Microsoft's channel table for Microsoft 365 Apps (docs/findings.md, R19).
#include "probes/findings/ClickToRunChannel.h"

#include "framework/StringTable.h"

#include <algorithm>
#include <cwctype>

namespace corvane {

namespace {

struct Channel
{
    std::wstring_view guid; // lower case
    const wchar_t* name;
};

constexpr Channel kChannels[] = {
    {L"492350f6-3a01-4f97-b9c0-c7c6ddf67d60", L"Current Channel"},
    {L"64256afe-f5d9-4f86-8936-8840a6a4f5be", L"Current Channel (Preview)"},
    {L"55336b82-a18d-4dd6-b5f6-9e5095c314a6", L"Monthly Enterprise Channel"},
    {L"7ffbc6bf-bc32-4f92-8982-f9dd17fd3114", L"Semi-Annual Enterprise Channel"},
    {L"b8f9b850-328d-4355-9145-c59439a0c4cf", L"Semi-Annual Enterprise Channel (Preview)"},
    {L"5440fd1f-7ecb-4221-8110-145efaa6372f", L"Beta Channel"},
};

} // namespace

std::wstring ClickToRunChannelName(std::wstring_view urlOrGuid)
{
    std::wstring lower(urlOrGuid);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    for (const Channel& channel : kChannels)
    {
        if (lower.find(channel.guid) != std::wstring::npos)
            return channel.name;
    }
    return std::wstring();
}

std::wstring ClickToRunSummary(const ClickToRunFacts& clickToRun)
{
    const std::wstring channelName = ClickToRunChannelName(clickToRun.channel);
    const std::wstring& channel = channelName.empty() ? clickToRun.channel : channelName;
    std::vector<std::wstring> parts;
    for (const std::wstring* part : {&clickToRun.platform, &clickToRun.version, &channel})
    {
        if (!part->empty())
            parts.push_back(*part);
    }
    return JoinList(parts);
}

} // namespace corvane
