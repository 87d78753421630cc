#include "probes/inventory/LanguageValues.h"

#include "probes/inventory/RegistryRead.h"

namespace corvane {

std::vector<LanguageValueFacts> ReadLanguageValues(HKEY softwareKey, const MailClientFacts& client)
{
    std::vector<LanguageValueFacts> values;
    for (const std::vector<std::wstring>* lcid : {&client.msiApplicationLcid, &client.msiOfficeLcid})
    {
        if (lcid->empty())
            continue;
        const std::wstring& keyName = lcid->front();
        CRegKey key;
        const bool opened = OpenRegistryKey(softwareKey, keyName.c_str(), 0, key) == ERROR_SUCCESS;
        for (size_t i = 1; i < lcid->size(); ++i)
        {
            LanguageValueFacts value;
            value.key = keyName;
            value.name = (*lcid)[i];
            value.found = opened && ::RegQueryValueExW(key.Get(), value.name.c_str(), nullptr, nullptr,
                                                       nullptr, nullptr) == ERROR_SUCCESS;
            values.push_back(std::move(value));
        }
    }
    return values;
}

} // namespace corvane
