#pragma once
// The flags of a Windows Messaging Subsystem key that programs read before they offer to send mail.

#include "probes/findings/FindingFacts.h"

#include <windows.h>

namespace corvane {

// The open key's "MAPI" and "MAPIX" texts (empty when absent); found is true.
MessagingSubsystemFacts ReadMessagingSubsystem(HKEY subsystemKey);

} // namespace corvane
