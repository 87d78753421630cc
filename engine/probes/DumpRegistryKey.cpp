// Copies a registry key into the report and, in verbose runs, into the event list, as the registry walk
// meets its subkeys and values.
#include "engine/ReportData.h"

#include "engine/probes/ProbeStep.h"
#include "engine/probes/RegistryHive.h"
#include "framework/HResult.h"
#include "framework/StringTable.h"
#include "probes/mail/RegistryWalk.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

#include <vector>

namespace corvane {

namespace {

// An unlimited depth stays so; a positive one shrinks by one level.
int NextLevel(int limit)
{
    return limit > 0 ? limit - 1 : limit;
}

class CDumpWalker final : public IRegistryWalker
{
public:
    CDumpWalker(CReportData& engine, IXMLDOMNode* parent, int& position, int indent, int logDepth)
        : engine_(engine), position_(position)
    {
        CComPtr<IXMLDOMNode> root;
        if (engine.report && parent)
        {
            parent->AddRef();
            root.Attach(parent);
        }
        levels_.push_back({root, indent, logDepth});
    }

    bool StopRequested() override { return engine_.StopRequested(); }

    void EnterSubkey(const wchar_t* name, LONG openError) override
    {
        const Level& level = levels_.back();
        const std::wstring marker =
            openError == ERROR_SUCCESS ? std::wstring() : xml::ErrorMarker(HResultFromRegistry(openError));
        CComPtr<IXMLDOMNode> node;
        if (level.node)
        {
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::ListRegNode},
                                                {xml::NameAttribute, name}};
            ElementSpec spec(xml::DataList, marker.empty() ? nullptr : marker.c_str(), attributes, 2);
            engine_.report->AppendElement(&spec, level.node.Get(), node.Put());
        }
        if (engine_.verbose && (level.logDepth < 0 || level.logDepth > 1))
        {
            InsertRowAt(engine_, position_, EventStyle(EventIcon::FolderClosed, level.indent), name);
            if (!marker.empty())
                InsertRowAt(engine_, position_, EventStyle(EventIcon::Warning, level.indent + 1), marker);
        }
        if (marker.empty())
        {
            Level below{node, level.indent + 1, NextLevel(level.logDepth)};
            levels_.push_back(std::move(below));
        }
    }

    void LeaveSubkey() override { levels_.pop_back(); }

    void Value(const std::wstring& name, DWORD type, const std::wstring& text) override
    {
        const Level& level = levels_.back();
        const std::wstring valueName = name.empty() ? LoadResourceString(IDS_DEFAULT_VALUE_NAME) : name;
        if (level.node)
        {
            const AttributePair attributes[] = {{xml::TypeAttribute, xml::RegistryTypeName(type)},
                                                {xml::NameAttribute, valueName.c_str()}};
            ElementSpec spec(xml::DataItem, text.c_str(), attributes, 2);
            engine_.report->AppendElement(&spec, level.node.Get());
        }
        if (engine_.verbose && level.logDepth != 0)
        {
            InsertRowAt(engine_, position_, EventStyle(RegistryValueIcon(type), level.indent),
                        FormatResourceString(IDS_REGISTRY_VALUE, valueName.c_str(), text.c_str()));
        }
    }

private:
    struct Level
    {
        CComPtr<IXMLDOMNode> node; // null when nothing of this level goes into the report
        int indent;
        int logDepth;
    };

    CReportData& engine_;
    int& position_;
    std::vector<Level> levels_;
};

} // namespace

HRESULT CReportData::DumpRegistryKey(HKEY key, IXMLDOMNode* parent, int* rowPosition, int indent,
                                     int logDepth, int subkeyDepth)
{
    int appendAtEnd = -1;
    CDumpWalker walker(*this, parent, rowPosition ? *rowPosition : appendAtEnd, indent, logDepth);
    return WalkRegistryKey(key, subkeyDepth, walker);
}

} // namespace corvane
