#include "engine/probes/RegistryHive.h"

#include "engine/probes/ProbeStep.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

namespace corvane {

namespace {
constexpr int kKeyIndent = 1;
constexpr int kValueIndent = 2; // the key's values and subkeys, below its row
} // namespace

std::wstring HiveName(const HiveKey& hive)
{
    const std::wstring fullName = std::wstring(hive.rootName) + L"\\" + hive.path;
    if (!hive.viewName)
        return fullName;
    return FormatResourceString(IDS_IN_REGISTRY_VIEW, fullName.c_str(), hive.viewName);
}

HRESULT CopyRegistryHive(CReportData& engine, const HiveKey& hive, IXMLDOMNode* parent, int& rowPosition,
                         int logDepth, int subkeyDepth, const std::function<void(HKEY)>& inspect)
{
    CRegKey key;
    RETURN_IF_REG_FAILED(::RegOpenKeyExW(hive.root, hive.path.c_str(), 0, KEY_READ | hive.view, key.Put()));

    const std::wstring fullName = HiveName(hive);
    InsertRowAt(engine, rowPosition, EventStyle(EventIcon::Cubes, kKeyIndent), fullName);

    CComPtr<IXMLDOMNode> node;
    if (engine.report && parent)
    {
        const AttributePair attributes[] = {{xml::TypeAttribute, xml::ListRegHive},
                                            {xml::NameAttribute, fullName.c_str()}};
        ElementSpec spec(xml::DataList, nullptr, attributes, 2);
        engine.report->AppendElement(&spec, parent, node.Put());
    }
    const HRESULT hr =
        engine.DumpRegistryKey(key.Get(), node.Get(), &rowPosition, kValueIndent, logDepth, subkeyDepth);
    if (inspect)
        inspect(key.Get());
    return hr;
}

EventIcon RegistryValueIcon(DWORD type)
{
    if (type <= REG_QWORD)
        return static_cast<EventIcon>(static_cast<int>(EventIcon::None) + static_cast<int>(type));
    if (type == xml::RegMuiSz)
        return EventIcon::MuiSz;
    return EventIcon::None;
}

} // namespace corvane
