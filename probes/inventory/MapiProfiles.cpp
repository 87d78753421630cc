#include "probes/inventory/MapiProfiles.h"

#include "probes/inventory/RegistryRead.h"

namespace corvane {

MapiProfilesFacts ReadMapiProfiles(HKEY profilesKey, HKEY defaultKey)
{
    MapiProfilesFacts facts;
    facts.names = RegistrySubkeyNames(profilesKey);
    facts.defaultProfile = ReadRegistryText(defaultKey, L"DefaultProfile").value_or(std::wstring());
    return facts;
}

} // namespace corvane
