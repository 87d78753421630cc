#pragma once
// The name of a Click-to-Run update channel, from the GUID at the end of its CDNBaseUrl, and the one-line
// summary of Click-to-Run's configuration that the inventory and the findings show.

#include "probes/findings/FindingFacts.h"

#include <string>
#include <string_view>

namespace corvane {

// Microsoft's name of the channel whose GUID the text holds ("Current Channel"), in any letter case, as
// a bare GUID or inside a URL; empty when the text holds no GUID of a known channel.
std::wstring ClickToRunChannelName(std::wstring_view urlOrGuid);

// "x64, 16.0.18129.20116, Current Channel": the platform, the version and the channel (its name, else
// the text as read), those that are not empty; empty when none is.
std::wstring ClickToRunSummary(const ClickToRunFacts& clickToRun);

} // namespace corvane
