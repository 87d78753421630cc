#pragma once
// Registry reading shared by the mail client and Outlook probes: one key copied whole into the report
// and the list ("hive"). Single values are read with QueryRegistryValue (probes/inventory/RegistryRead.h).

#include "engine/ReportData.h"
#include "probes/inventory/RegistryRead.h"

#include <functional>
#include <string>

namespace corvane {

struct HiveKey
{
    HKEY root;
    const wchar_t* rootName; // "HKLM" or "HKCU": the abbreviation shown in rows and the report
    std::wstring path;
    // Another registry view than the program's own: KEY_WOW64_64KEY or KEY_WOW64_32KEY, and the bitness
    // that rows and the report name it by ("64-bit"); 0 and null for the program's own.
    REGSAM view = 0;
    const wchar_t* viewName = nullptr;
};

// The name that rows and the report give the key: the root's abbreviation and the path, and the view
// where it is not the program's own ("HKLM\SOFTWARE\...\Windows Messaging Subsystem (64-bit view)").
std::wstring HiveName(const HiveKey& hive);

// Opens the key read-only, writes its row (icon 9, indent 1) and its "RegHive" list, dumps it at depth 2
// and, when given, lets inspect read the open key before it is closed. Fails with the open's code.
HRESULT CopyRegistryHive(CReportData& engine, const HiveKey& hive, IXMLDOMNode* parent, int& rowPosition,
                         int logDepth, int subkeyDepth, const std::function<void(HKEY)>& inspect = {});

// Event icon of a value type: the type's own for REG_NONE to REG_QWORD and REG_MUI_SZ, REG_NONE's for
// any other.
EventIcon RegistryValueIcon(DWORD type);

} // namespace corvane
