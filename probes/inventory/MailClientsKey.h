#pragma once
// A Clients\Mail key as the finding rules read it: the default client and each client's MAPI libraries,
// language values and the ProgId it registers for e-mail links.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

namespace corvane {

// Reads the open key (HKLM\SOFTWARE\Clients\Mail or HKCU\Software\Clients\Mail) and each client key
// below it, in the registry's order. A client key that cannot be opened keeps its name alone, with its
// e-mail link ProgId not examined.
MailClientsKeyFacts ReadMailClientsKey(HKEY mailKey);

} // namespace corvane
