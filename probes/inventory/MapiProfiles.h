#pragma once
// The user's MAPI profiles by name: the subkeys of a Profiles key and the name of the default. A
// profile's contents are MAPI's own, undocumented, and never read.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

namespace corvane {

// The subkeys of the open profilesKey, in the registry's order, and the "DefaultProfile" value of
// defaultKey (the Outlook key above it for Outlook 2013 and later, the Profiles key itself before).
MapiProfilesFacts ReadMapiProfiles(HKEY profilesKey, HKEY defaultKey);

} // namespace corvane
