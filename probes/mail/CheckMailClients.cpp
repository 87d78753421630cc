// The registered mail clients and the Outlook client's settings, which the later MAPI steps use.
#include "engine/ReportData.h"

#include "engine/StringTable.h"
#include "framework/UniqueHandle.h"
#include "probes/mail/ProbeStep.h"
#include "probes/mail/RegistryHive.h"
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
    const HRESULT hr = CopyRegistryHive(*this, {HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE\\Clients\\Mail"},
                                        parent, step.rowPosition, verbose ? 2 : 1, 1);
    // Without the Outlook client key there are no settings, whatever an earlier look found.
    ClearOutlookSettings();
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
        ReadSetting(client.Get(), L"MSIComponentID", msiComponentId);
        msiComponentId = FirstString(msiComponentId);
        ReadSetting(client.Get(), L"MSIApplicationLCID", msiApplicationLcid);
        ReadSetting(client.Get(), L"MSIOfficeLCID", msiOfficeLcid);
        // An expandable path would need expanding before use, which Outlook's own readers never do.
        ReadSetting(client.Get(), L"DLLPath", dllPath, false);
        dllPath = FirstString(dllPath);
        ReadSetting(client.Get(), L"DLLPathEx", dllPathEx, false);
        dllPathEx = FirstString(dllPathEx);

        InsertRowAt(*this, step.rowPosition, EventStyle(EventIcon::Monitor, kSettingsIndent),
                    LoadResourceString(IDS_OUTLOOK_SETTINGS));
        if (verbose)
        {
            const DWORD detail = EventStyle(EventIcon::Gem, kDetailIndent);
            InsertRowAt(*this, step.rowPosition, detail,
                        FormatResourceString(IDS_MSI_COMPONENT_ID, msiComponentId.c_str()));
            InsertRowAt(*this, step.rowPosition, detail,
                        FormatResourceString(IDS_MSI_APPLICATION_LCID, msiApplicationLcid.c_str()));
            InsertRowAt(*this, step.rowPosition, detail,
                        FormatResourceString(IDS_MSI_OFFICE_LCID, msiOfficeLcid.c_str()));
            if (!dllPath.empty())
                InsertRowAt(*this, step.rowPosition, detail,
                            FormatResourceString(IDS_DLL_PATH, dllPath.c_str()));
            if (!dllPathEx.empty())
                InsertRowAt(*this, step.rowPosition, detail,
                            FormatResourceString(IDS_DLL_PATH_EX, dllPathEx.c_str()));
        }
    }

    hasLcidKeys = !FirstString(msiApplicationLcid).empty() && !FirstString(msiOfficeLcid).empty();
    return step.End(hr, IDS_MAIL_CLIENTS_FAILED);
}

} // namespace corvane
