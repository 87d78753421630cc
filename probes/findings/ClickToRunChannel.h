#pragma once
// The name of a Click-to-Run update channel, from the GUID at the end of its CDNBaseUrl.

#include <string>
#include <string_view>

namespace corvane {

// Microsoft's name of the channel whose GUID the text holds ("Current Channel"), in any letter case, as
// a bare GUID or inside a URL; empty when the text holds no GUID of a known channel.
std::wstring ClickToRunChannelName(std::wstring_view urlOrGuid);

} // namespace corvane
