#include "probes/inventory/PackageRepository.h"

#include "probes/inventory/RegistryRead.h"

namespace corvane {

std::wstring FindRegisteredPackage(HKEY packagesKey, const std::wstring& familyPrefix)
{
    for (const std::wstring& name : RegistrySubkeyNames(packagesKey))
    {
        if (name.size() > familyPrefix.size() &&
            SameRegistryName(name.substr(0, familyPrefix.size()), familyPrefix))
            return name;
    }
    return std::wstring();
}

} // namespace corvane
