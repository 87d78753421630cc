#pragma once
// The per-user values that a mail client's language values name: MSIApplicationLCID and MSIOfficeLCID
// each hold a key below HKCU\Software, then the names of values in it.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

#include <vector>

namespace corvane {

// For each value named by client's MSIApplicationLCID, then its MSIOfficeLCID: whether it exists below
// the open softwareKey (HKCU\Software); a key that cannot be opened has none of its values.
std::vector<LanguageValueFacts> ReadLanguageValues(HKEY softwareKey, const MailClientFacts& client);

} // namespace corvane
