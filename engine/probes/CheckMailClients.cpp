// The registered mail clients and the Outlook client's settings, which the later MAPI steps use.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "probes/inventory/MailClientsKey.h"
#include "res/resource.h"

namespace corvane {

namespace {

constexpr int kSettingsIndent = 1;
constexpr int kDetailIndent = 2;

// Empties the member, then fills it with the value's whole data when there is any.
void ReadSetting(HKEY key, const wchar_t* name, std::wstring& member, bool expandable = true)
{
    member.clear();
    RegistryValue value = QueryRegistryValue(key, name);
    if (value.HasData() && (expandable || value.type != REG_EXPAND_SZ))
        member = std::move(value.data);
}

} // namespace

HRESULT CReportData::CheckMailClients(IXMLDOMNode* parent)
{
    CProbeStep step(*this, IDS_CHECK_MAIL_CLIENTS);
    const HRESULT hr =
        CopyRegistryHive(*this, {HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE\\Clients\\Mail"}, parent,
                         step.rowPosition, verbose ? kRowsForKeyAndSubkeys : kRowsForKey, kOneSubkeyLevel,
                         [this](HKEY key) { facts.examined.machineMail = ReadMailClientsKey(key); });
    // A machine without the key has no default mail client; a key that could not be read is no fact.
    if (hr == HResultFromWin32(ERROR_FILE_NOT_FOUND))
        facts.examined.machineMail = MailClientsKeyFacts{};
    // Without the Outlook client key there are no settings, whatever an earlier look found.
    facts.outlook = OutlookClientSettings{};
    if (FAILED(hr))
        return step.End(hr, IDS_MAIL_CLIENTS_FAILED);

    CRegKey client;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook", 0, KEY_READ,
                        client.Put()) != ERROR_SUCCESS ||
        !client)
    {
        InsertRowAt(*this, step.rowPosition, EventStyle(EventIcon::Monitor, kSettingsIndent),
                    LoadResourceString(IDS_OUTLOOK_KEY_NOT_FOUND));
    }
    else
    {
        // The component id and the DLL paths are texts: only their first string counts.
        ReadSetting(client.Get(), L"MSIComponentID", facts.outlook.msiComponentId);
        facts.outlook.msiComponentId = FirstString(facts.outlook.msiComponentId);
        ReadSetting(client.Get(), L"MSIApplicationLCID", facts.outlook.msiApplicationLcid);
        ReadSetting(client.Get(), L"MSIOfficeLCID", facts.outlook.msiOfficeLcid);
        // An expandable path would need expanding before use, which Outlook's own readers never do.
        ReadSetting(client.Get(), L"DLLPath", facts.outlook.dllPath, false);
        facts.outlook.dllPath = FirstString(facts.outlook.dllPath);
        ReadSetting(client.Get(), L"DLLPathEx", facts.outlook.dllPathEx, false);
        facts.outlook.dllPathEx = FirstString(facts.outlook.dllPathEx);

        InsertRowAt(*this, step.rowPosition, EventStyle(EventIcon::Monitor, kSettingsIndent),
                    LoadResourceString(IDS_OUTLOOK_SETTINGS));
        if (verbose)
        {
            const DWORD detail = EventStyle(EventIcon::Gem, kDetailIndent);
            InsertRowAt(*this, step.rowPosition, detail,
                        FormatResourceString(IDS_MSI_COMPONENT_ID, facts.outlook.msiComponentId.c_str()));
            InsertRowAt(
                *this, step.rowPosition, detail,
                FormatResourceString(IDS_MSI_APPLICATION_LCID, facts.outlook.msiApplicationLcid.c_str()));
            InsertRowAt(*this, step.rowPosition, detail,
                        FormatResourceString(IDS_MSI_OFFICE_LCID, facts.outlook.msiOfficeLcid.c_str()));
            if (!facts.outlook.dllPath.empty())
                InsertRowAt(*this, step.rowPosition, detail,
                            FormatResourceString(IDS_DLL_PATH, facts.outlook.dllPath.c_str()));
            if (!facts.outlook.dllPathEx.empty())
                InsertRowAt(*this, step.rowPosition, detail,
                            FormatResourceString(IDS_DLL_PATH_EX, facts.outlook.dllPathEx.c_str()));
        }
    }

    facts.outlook.hasLcidKeys = !FirstString(facts.outlook.msiApplicationLcid).empty() &&
                                !FirstString(facts.outlook.msiOfficeLcid).empty();
    return step.End(hr, IDS_MAIL_CLIENTS_FAILED);
}

} // namespace corvane
