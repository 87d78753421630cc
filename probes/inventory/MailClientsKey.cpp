#include "probes/inventory/MailClientsKey.h"

#include "probes/inventory/RegistryRead.h"

namespace corvane {

namespace {

// Where a client registers what it handles (Default Programs' Capabilities), relative to its key.
constexpr const wchar_t* kUrlAssociations = L"Capabilities\\URLAssociations";
constexpr const wchar_t* kMailtoScheme = L"mailto";

std::wstring TextOrEmpty(HKEY key, const wchar_t* name)
{
    return ReadRegistryText(key, name).value_or(std::wstring());
}

} // namespace

MailClientsKeyFacts ReadMailClientsKey(HKEY mailKey)
{
    MailClientsKeyFacts facts;
    facts.defaultClient = TextOrEmpty(mailKey, L"");
    for (const std::wstring& name : RegistrySubkeyNames(mailKey))
    {
        MailClientFacts client;
        client.name = name;
        CRegKey key;
        if (OpenRegistryKey(mailKey, name.c_str(), 0, key) == ERROR_SUCCESS)
        {
            client.dllPath = TextOrEmpty(key.Get(), L"DLLPath");
            client.dllPathEx = TextOrEmpty(key.Get(), L"DLLPathEx");
            client.msiComponentId = TextOrEmpty(key.Get(), L"MSIComponentID");
            client.msiApplicationLcid = ReadRegistryTexts(key.Get(), L"MSIApplicationLCID");
            client.msiOfficeLcid = ReadRegistryTexts(key.Get(), L"MSIOfficeLCID");
            CRegKey associations;
            client.mailtoProgId =
                OpenRegistryKey(key.Get(), kUrlAssociations, 0, associations) == ERROR_SUCCESS
                    ? TextOrEmpty(associations.Get(), kMailtoScheme)
                    : std::wstring();
        }
        facts.clients.push_back(std::move(client));
    }
    return facts;
}

} // namespace corvane
