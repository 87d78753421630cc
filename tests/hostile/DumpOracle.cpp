#include "tests/hostile/DumpOracle.h"

#include "framework/ComPtr.h"
#include "framework/StringTable.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"

#include <msxml2.h>

#include <cstdio>
#include <cwchar>

namespace corvane::scale {

namespace {

constexpr DWORD kNameUnitsKept = 259;
constexpr DWORD kDataBytesKept = 2080;

// {f5078f32-c551-11d3-89b9-0000f81fe221}
constexpr CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
// {2933bf95-7b36-11d2-b20e-00c04f983e60}
constexpr IID kIidDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
// {2933bf86-7b36-11d2-b20e-00c04f983e60}
constexpr IID kIidElement = {0x2933bf86, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

const wchar_t* const kTypeNames[] = {L"REG_NONE",
                                     L"REG_SZ",
                                     L"REG_EXPAND_SZ",
                                     L"REG_BINARY",
                                     L"REG_DWORD",
                                     L"REG_DWORD_BIG_ENDIAN",
                                     L"REG_LINK",
                                     L"REG_MULTI_SZ",
                                     L"REG_RESOURCE_LIST",
                                     L"REG_FULL_RESOURCE_DESCRIPTOR",
                                     L"REG_RESOURCE_REQUIREMENTS_LIST",
                                     L"REG_QWORD"};

std::wstring Format(const wchar_t* format, ...)
{
    wchar_t buffer[256];
    va_list arguments;
    va_start(arguments, format);
    std::vswprintf(buffer, 256, format, arguments);
    va_end(arguments);
    return buffer;
}

std::wstring Units(const BYTE* data, DWORD size)
{
    std::wstring units(size / 2, L'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

std::wstring UpToNull(const std::wstring& units, size_t start = 0)
{
    const size_t end = units.find(L'\0', start);
    return units.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

std::wstring SizeText(const std::wstring& typeText, DWORD size)
{
    return typeText + L": " + std::to_wstring(size) + (size % 10 == 1 ? L" byte" : L" bytes");
}

void ReadValues(HKEY key, std::vector<DumpItem>& items)
{
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index)
    {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            break;
        if (nameLength > kNameUnitsKept)
            continue;
        DumpItem item;
        item.typeNumber = type;
        item.type = ExpectedTypeName(type);
        item.name =
            nameLength ? std::wstring(name.data(), nameLength) : LoadResourceString(IDS_DEFAULT_VALUE_NAME);
        item.text = size > kDataBytesKept ? std::wstring(L"##ERROR:0x800700EA##")
                                          : ExpectedValueText(type, data.data(), size);
        items.push_back(std::move(item));
    }
}

void ReadKey(HKEY key, int subkeyDepth, DumpList& list)
{
    if (subkeyDepth != 0)
    {
        for (DWORD index = 0;; ++index)
        {
            wchar_t name[1024];
            DWORD length = 1024;
            if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            if (length > kNameUnitsKept)
                continue;
            DumpList child;
            child.name.assign(name, length);
            CRegKey subkey;
            if (::RegOpenKeyExW(key, child.name.c_str(), 0, KEY_READ, subkey.Put()) == ERROR_SUCCESS)
                ReadKey(subkey.Get(), subkeyDepth > 0 ? subkeyDepth - 1 : subkeyDepth, child);
            list.lists.push_back(std::move(child));
        }
    }
    ReadValues(key, list.items);
}

std::wstring Attribute(IXMLDOMElement* element, const wchar_t* name)
{
    CBstr attributeName(::SysAllocString(name));
    VARIANT value;
    ::VariantInit(&value);
    std::wstring text;
    if (element->getAttribute(attributeName.Get(), &value) == S_OK && value.vt == VT_BSTR && value.bstrVal)
        text.assign(value.bstrVal, ::SysStringLen(value.bstrVal));
    ::VariantClear(&value);
    return text;
}

std::wstring NodeName(IXMLDOMNode* node)
{
    BSTR name = nullptr;
    node->get_nodeName(&name);
    CBstr owned(name);
    return name ? std::wstring(name, ::SysStringLen(name)) : std::wstring();
}

std::wstring TextOf(IXMLDOMNode* node)
{
    std::wstring text;
    CComPtr<IXMLDOMNode> child;
    node->get_firstChild(child.Put());
    while (child)
    {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION)
        {
            VARIANT value;
            ::VariantInit(&value);
            if (child->get_nodeValue(&value) == S_OK && value.vt == VT_BSTR && value.bstrVal)
                text.append(value.bstrVal, ::SysStringLen(value.bstrVal));
            ::VariantClear(&value);
        }
        CComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Put());
        child = std::move(next);
    }
    return text;
}

void ReadList(IXMLDOMNode* node, DumpList& list)
{
    CComPtr<IXMLDOMNode> child;
    node->get_firstChild(child.Put());
    while (child)
    {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_ELEMENT)
        {
            CComPtr<IXMLDOMElement> element;
            child->QueryInterface(kIidElement, element.PutVoid());
            const std::wstring kind = NodeName(child.Get());
            if (kind == L"DataList" && element)
            {
                DumpList sublist;
                sublist.name = Attribute(element.Get(), L"Name");
                ReadList(child.Get(), sublist);
                list.lists.push_back(std::move(sublist));
            }
            else if (kind == L"DataItem" && element)
            {
                DumpItem item;
                item.type = Attribute(element.Get(), L"Type");
                item.name = Attribute(element.Get(), L"Name");
                item.text = TextOf(child.Get());
                list.items.push_back(std::move(item));
            }
            else
            {
                DumpItem odd;
                odd.type = L"unexpected element " + kind;
                list.items.push_back(odd);
            }
        }
        CComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Put());
        child = std::move(next);
    }
}

} // namespace

std::wstring ExpectedTypeName(DWORD type)
{
    if (type <= 11)
        return kTypeNames[type];
    return type == 21 ? L"REG_MUI_SZ" : L"REG_NONE";
}

int ExpectedValueIcon(DWORD type)
{
    if (type <= 11)
        return 12 + static_cast<int>(type);
    return type == 21 ? 24 : 12;
}

std::wstring ExpectedValueText(DWORD type, const BYTE* data, DWORD size)
{
    switch (type)
    {
    case 1:
    case 2:
    case 21:
        return UpToNull(Units(data, size));
    case 7: {
        const std::wstring units = Units(data, size);
        std::wstring joined;
        for (size_t start = 0; start < units.size() && units[start] != L'\0';)
        {
            const std::wstring one = UpToNull(units, start);
            if (start > 0)
                joined += L'|';
            joined += one;
            start += one.size() + 1;
        }
        return joined;
    }
    case 4:
    case 5: {
        unsigned long value = 0;
        const DWORD used = size < 4 ? size : 4;
        for (DWORD i = 0; i < used; ++i)
        {
            if (type == 4)
                value |= static_cast<unsigned long>(data[i]) << (8 * i);
            else
                value = (value << 8) | data[i];
        }
        return Format(L"0x%08lX (%lu)", value, value);
    }
    case 11: {
        unsigned long long value = 0;
        const DWORD used = size < 8 ? size : 8;
        for (DWORD i = 0; i < used; ++i)
            value |= static_cast<unsigned long long>(data[i]) << (8 * i);
        return Format(L"0x%08llX (%llu)", value, value);
    }
    case 0:
    case 3:
    case 6:
    case 8:
    case 9:
    case 10:
        return SizeText(kTypeNames[type], size);
    default:
        return SizeText(Format(L"REG_%04lX", static_cast<unsigned long>(type)), size);
    }
}

std::wstring XmlCarried(const std::wstring& text)
{
    std::wstring carried;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        {
            carried += unit;
            carried += text[++i];
            continue;
        }
        const bool control = unit < 0x20 && unit != L'\t' && unit != L'\n' && unit != L'\r';
        carried += (control || high || low || unit == 0xFFFE || unit == 0xFFFF) ? L'\xFFFD' : unit;
    }
    return carried;
}

std::wstring LineEndsAsRead(const std::wstring& text)
{
    std::wstring read;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != L'\r')
            read += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != L'\n')
            read += L'\n';
    }
    return read;
}

bool ExpectedDump(HKEY root, const std::wstring& path, int subkeyDepth, DumpList& expected)
{
    CRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return false;
    expected = DumpList();
    expected.name = std::wstring(root == HKEY_LOCAL_MACHINE ? L"HKLM\\" : L"HKCU\\") + path;
    ReadKey(key.Get(), subkeyDepth, expected);
    return true;
}

std::vector<test::EventRow> ExpectedRows(const DumpList& hive, int logDepth)
{
    std::vector<test::EventRow> rows;
    auto walk = [&rows](auto& self, const DumpList& list, int depth, int levels) -> void {
        if (levels == 0)
            return;
        for (const DumpList& sublist : list.lists)
        {
            if (levels < 0 || levels > 1)
                rows.push_back({sublist.name, 10, depth});
            self(self, sublist, depth + 1, levels > 0 ? levels - 1 : levels);
        }
        for (const DumpItem& item : list.items)
            rows.push_back({item.name + L": " + item.text, ExpectedValueIcon(item.typeNumber), depth});
    };
    walk(walk, hive, 2, logDepth);
    return rows;
}

bool ReadReportHives(const std::wstring& path, std::vector<DumpList>& hives, std::wstring& error)
{
    hives.clear();
    CComPtr<IXMLDOMDocument2> document;
    HRESULT hr =
        ::CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, kIidDocument2, document.PutVoid());
    if (FAILED(hr) || !document)
    {
        error = L"no DOM document: " + Format(L"0x%08lX", static_cast<unsigned long>(hr));
        return false;
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    VARIANT source;
    ::VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = ::SysAllocString(path.c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = document->load(source, &loaded);
    ::VariantClear(&source);
    if (hr != S_OK || loaded != VARIANT_TRUE)
    {
        error = L"the report does not load: " + Format(L"0x%08lX", static_cast<unsigned long>(hr));
        return false;
    }
    CBstr query(::SysAllocString(L"/Report/ReportData/ReportSection/DataList[@Type='RegHive']"));
    CComPtr<IXMLDOMNodeList> found;
    if (FAILED(document->selectNodes(query.Get(), found.Put())) || !found)
    {
        error = L"the report's hives cannot be selected";
        return false;
    }
    long count = 0;
    found->get_length(&count);
    for (long i = 0; i < count; ++i)
    {
        CComPtr<IXMLDOMNode> node;
        found->get_item(i, node.Put());
        CComPtr<IXMLDOMElement> element;
        if (!node || FAILED(node->QueryInterface(kIidElement, element.PutVoid())) || !element)
            continue;
        DumpList hive;
        hive.name = Attribute(element.Get(), L"Name");
        ReadList(node.Get(), hive);
        hives.push_back(std::move(hive));
    }
    return true;
}

std::string CompareDump(const DumpList& expected, const DumpList& actual)
{
    auto compare = [](auto& self, const DumpList& want, const DumpList& have,
                      const std::string& path) -> std::string {
        const std::string where = path.empty() ? std::string("the hive") : path;
        if (XmlCarried(want.name) != have.name)
            return where + ": list name \"" + Printable(XmlCarried(want.name)) + "\" expected, \"" +
                   Printable(have.name) + "\" found";
        if (want.lists.size() != have.lists.size())
            return where + ": " + std::to_string(want.lists.size()) + " subkey lists expected, " +
                   std::to_string(have.lists.size()) + " in the report";
        for (size_t i = 0; i < want.lists.size(); ++i)
        {
            const std::string difference =
                self(self, want.lists[i], have.lists[i], path + "/list " + std::to_string(i));
            if (!difference.empty())
                return difference;
        }
        const size_t common = want.items.size() < have.items.size() ? want.items.size() : have.items.size();
        for (size_t i = 0; i < common; ++i)
        {
            DumpItem carried = want.items[i];
            carried.name = XmlCarried(carried.name);
            carried.text = LineEndsAsRead(XmlCarried(carried.text));
            const DumpItem& found = have.items[i];
            if (carried == found)
                continue;
            const std::string item = where + ": item " + std::to_string(i) + " (type " +
                                     std::to_string(want.items[i].typeNumber) + ")";
            if (carried.type != found.type)
                return item + " Type " + Printable(carried.type) + " expected, " + Printable(found.type) +
                       " found";
            if (carried.name != found.name)
                return item + " Name \"" + Printable(carried.name) + "\" expected, \"" +
                       Printable(found.name) + "\" found";
            size_t at = 0;
            while (at < carried.text.size() && at < found.text.size() && carried.text[at] == found.text[at])
                ++at;
            const size_t from = at > 24 ? at - 24 : 0;
            return item + " text differs at unit " + std::to_string(at) + " of " +
                   std::to_string(carried.text.size()) + ": \"..." +
                   Printable(carried.text.substr(from), 90) + "\" expected, \"..." +
                   Printable(found.text.substr(from), 90) + "\" found (" + std::to_string(found.text.size()) +
                   " units)";
        }
        if (want.items.size() != have.items.size())
            return where + ": " + std::to_string(want.items.size()) + " values expected, " +
                   std::to_string(have.items.size()) + " in the report";
        return std::string();
    };
    return compare(compare, expected, actual, std::string());
}

std::string Printable(const std::wstring& text, size_t limit)
{
    std::string printable;
    for (size_t i = 0; i < text.size() && printable.size() < limit; ++i)
    {
        const wchar_t unit = text[i];
        if (unit >= 0x20 && unit < 0x7F && unit != L'\\')
            printable += static_cast<char>(unit);
        else
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
            printable += escaped;
        }
    }
    if (printable.size() >= limit)
        printable += "...";
    return printable;
}

} // namespace corvane::scale
