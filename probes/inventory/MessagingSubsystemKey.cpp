#include "probes/inventory/MessagingSubsystemKey.h"

#include "probes/inventory/RegistryRead.h"

namespace corvane {

MessagingSubsystemFacts ReadMessagingSubsystem(HKEY subsystemKey)
{
    MessagingSubsystemFacts facts;
    facts.found = true;
    facts.mapi = ReadRegistryText(subsystemKey, L"MAPI").value_or(std::wstring());
    facts.mapix = ReadRegistryText(subsystemKey, L"MAPIX").value_or(std::wstring());
    return facts;
}

} // namespace corvane
