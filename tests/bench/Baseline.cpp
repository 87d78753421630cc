#include "tests/bench/Baseline.h"

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"
#include "report/ReportVocabulary.h"
#include "tests/hostile/RegistryWorld.h"
#include "tests/hostile/RunHarness.h"

#include <msxml2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <ctime>

namespace corvane::scale {

namespace {

// {88d969c0-f192-11d4-a65f-0040963251e5}, {f5078f32-c551-11d3-89b9-0000f81fe221}
constexpr CLSID kDomDocument40 = {
    0x88d969c0, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
constexpr CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
// {2933bf95-7b36-11d2-b20e-00c04f983e60}, {2933bf80-7b36-11d2-b20e-00c04f983e60}
constexpr IID kIidDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
constexpr IID kIidNode = {0x2933bf80, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

using FGetComponentPathProc = BOOL(WINAPI*)(LPSTR, LPSTR, LPSTR, DWORD, BOOL);

class CRawDocument
{
public:
    bool Create()
    {
        for (const CLSID* candidate : {&kDomDocument40, &kDomDocument30})
        {
            if (SUCCEEDED(::CoCreateInstance(*candidate, nullptr, CLSCTX_INPROC_SERVER, kIidDocument2,
                                             document_.PutVoid())))
                break;
        }
        if (!document_)
            return false;
        CComPtr<IXMLDOMNode> self;
        document_->QueryInterface(kIidNode, self.PutVoid());
        CComPtr<IXMLDOMProcessingInstruction> declaration;
        CBstr target(::SysAllocString(L"xml"));
        CBstr data(::SysAllocString(L"version='1.0' encoding='utf-8' "));
        document_->createProcessingInstruction(target.Get(), data.Get(), declaration.Put());
        CComPtr<IXMLDOMNode> appended;
        document_->appendChild(declaration.Get(), appended.Put());
        root_ = Container(self.Get(), L"Report", {{L"Type", L"CompatibilityTest"}, {L"Version", L"2.0"}});
        header_ = Container(root_.Get(), L"ReportHeader");
        data_ = Container(root_.Get(), L"ReportData");
        return true;
    }

    struct Attribute
    {
        const wchar_t* name;
        const wchar_t* value;
    };

    CComPtr<IXMLDOMNode> Container(IXMLDOMNode* parent, const wchar_t* name,
                                   std::initializer_list<Attribute> attributes = {})
    {
        CComPtr<IXMLDOMNode> node = Element(name, nullptr, attributes);
        Newline(node.Get());
        CComPtr<IXMLDOMNode> appended;
        parent->appendChild(node.Get(), appended.Put());
        return appended;
    }

    void Leaf(IXMLDOMNode* parent, const wchar_t* name, const wchar_t* text,
              std::initializer_list<Attribute> attributes = {})
    {
        CComPtr<IXMLDOMNode> node = Element(name, text, attributes);
        CComPtr<IXMLDOMNode> appended;
        parent->appendChild(node.Get(), appended.Put());
        Newline(parent);
    }

    bool Save(const std::wstring& path)
    {
        Newline(root_.Get());
        VARIANT destination;
        ::VariantInit(&destination);
        destination.vt = VT_BSTR;
        destination.bstrVal = ::SysAllocString(path.c_str());
        const HRESULT hr = document_->save(destination);
        ::VariantClear(&destination);
        return SUCCEEDED(hr);
    }

    IXMLDOMNode* Header() const { return header_.Get(); }
    IXMLDOMNode* Data() const { return data_.Get(); }

private:
    CComPtr<IXMLDOMNode> Element(const wchar_t* name, const wchar_t* text,
                                 std::initializer_list<Attribute> attributes)
    {
        CBstr tag(::SysAllocString(name));
        CComPtr<IXMLDOMElement> element;
        document_->createElement(tag.Get(), element.Put());
        if (text)
        {
            CBstr content(::SysAllocString(text));
            CComPtr<IXMLDOMText> textNode;
            document_->createTextNode(content.Get(), textNode.Put());
            CComPtr<IXMLDOMNode> appended;
            element->appendChild(textNode.Get(), appended.Put());
        }
        for (const Attribute& attribute : attributes)
        {
            CBstr attributeName(::SysAllocString(attribute.name));
            VARIANT value;
            ::VariantInit(&value);
            value.vt = VT_BSTR;
            value.bstrVal = ::SysAllocString(attribute.value);
            element->setAttribute(attributeName.Get(), value);
            ::VariantClear(&value);
        }
        CComPtr<IXMLDOMNode> node;
        element->QueryInterface(kIidNode, node.PutVoid());
        return node;
    }

    void Newline(IXMLDOMNode* parent)
    {
        CBstr line(::SysAllocString(L"\n"));
        CComPtr<IXMLDOMText> textNode;
        document_->createTextNode(line.Get(), textNode.Put());
        CComPtr<IXMLDOMNode> appended;
        parent->appendChild(textNode.Get(), appended.Put());
    }

    CComPtr<IXMLDOMDocument2> document_;
    CComPtr<IXMLDOMNode> root_;
    CComPtr<IXMLDOMNode> header_;
    CComPtr<IXMLDOMNode> data_;
};

const wchar_t* TypeName(DWORD type)
{
    return xml::RegistryTypeName(type);
}

// The value's text, made only as far as the file needs it (the sample machines hold well-formed data).
void ValueText(DWORD type, const BYTE* data, DWORD size, wchar_t* text, size_t capacity)
{
    const auto* units = reinterpret_cast<const wchar_t*>(data);
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
        std::swprintf(text, capacity, L"%.*ls", static_cast<int>(size / 2), units);
        break;
    case REG_MULTI_SZ: {
        size_t at = 0;
        for (size_t i = 0; i + 1 < size / 2 && at + 1 < capacity; ++i)
            text[at++] = units[i] ? units[i] : L'|';
        text[at] = L'\0';
        break;
    }
    case REG_DWORD: {
        const unsigned long value = *reinterpret_cast<const unsigned long*>(data);
        std::swprintf(text, capacity, L"0x%08lX (%lu)", value, value);
        break;
    }
    case REG_QWORD: {
        const unsigned long long value = *reinterpret_cast<const unsigned long long*>(data);
        std::swprintf(text, capacity, L"0x%08llX (%llu)", value, value);
        break;
    }
    default:
        std::swprintf(text, capacity, L"%ls: %lu bytes", TypeName(type), static_cast<unsigned long>(size));
        break;
    }
}

size_t DumpKey(CRawDocument& document, HKEY key, IXMLDOMNode* parent, int subkeyDepth)
{
    size_t items = 0;
    wchar_t name[260];
    if (subkeyDepth > 0)
    {
        for (DWORD index = 0;; ++index)
        {
            DWORD length = 260;
            if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            CComPtr<IXMLDOMNode> list =
                document.Container(parent, L"DataList", {{L"Type", L"RegNode"}, {L"Name", name}});
            ++items;
            CRegKey subkey;
            if (::RegOpenKeyExW(key, name, 0, KEY_READ, subkey.Put()) == ERROR_SUCCESS)
                items += DumpKey(document, subkey.Get(), list.Get(), subkeyDepth - 1);
        }
    }
    alignas(8) BYTE data[2080];
    wchar_t text[2080];
    for (DWORD index = 0;; ++index)
    {
        DWORD length = 260;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        ValueText(type, data, size, text, 2080);
        document.Leaf(parent, L"DataItem", text,
                      {{L"Type", TypeName(type)}, {L"Name", length ? name : L"(Default)"}});
        ++items;
    }
    return items;
}

size_t DumpHive(CRawDocument& document, IXMLDOMNode* section, HKEY root, const wchar_t* rootName,
                const std::wstring& path, int subkeyDepth)
{
    CRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return 0;
    const std::wstring full = std::wstring(rootName) + L"\\" + path;
    CComPtr<IXMLDOMNode> hive =
        document.Container(section, L"DataList", {{L"Type", L"RegHive"}, {L"Name", full.c_str()}});
    return DumpKey(document, key.Get(), hive.Get(), subkeyDepth);
}

std::wstring QueryText(HKEY key, const wchar_t* name)
{
    alignas(8) BYTE buffer[520];
    DWORD size = sizeof buffer;
    DWORD type = REG_SZ;
    if (::RegQueryValueExW(key, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS)
        return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer), size / 2);
}

void VersionInfo(CRawDocument& document, IXMLDOMNode* section, const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::wstring buffer(size / 2 + 1, L'\0');
    if (!size || !::GetFileVersionInfoW(path.c_str(), 0, size, buffer.data()))
        return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ::VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
    wchar_t* company = nullptr;
    ::VerQueryValueW(buffer.data(), L"\\StringFileInfo\\040904b0\\CompanyName",
                     reinterpret_cast<void**>(&company), &length);
    wchar_t version[64];
    std::swprintf(version, 64, L"%u.%u.%u.%u", fixed ? HIWORD(fixed->dwFileVersionMS) : 0,
                  fixed ? LOWORD(fixed->dwFileVersionMS) : 0, fixed ? HIWORD(fixed->dwFileVersionLS) : 0,
                  fixed ? LOWORD(fixed->dwFileVersionLS) : 0);
    CComPtr<IXMLDOMNode> structure = document.Container(
        section, L"DataStruct", {{L"Type", L"VersionInfo"}, {L"ModulePath", path.c_str()}});
    document.Leaf(structure.Get(), L"DataMember", version,
                  {{L"Type", L"Version"}, {L"Name", L"ProductVersion"}});
    document.Leaf(structure.Get(), L"DataMember", version,
                  {{L"Type", L"Version"}, {L"Name", L"FileVersion"}});
    document.Leaf(structure.Get(), L"DataMember", company ? company : L"",
                  {{L"Type", L"String"}, {L"Name", L"CompanyName"}});
}

void ComponentPaths(CRawDocument& document, IXMLDOMNode* section, const wchar_t* module,
                    const std::string& component, const std::string& application, const std::string& office)
{
    CModule library(::LoadLibraryW(module));
    auto call = library ? reinterpret_cast<FGetComponentPathProc>(reinterpret_cast<void (*)()>(
                              ::GetProcAddress(library.Get(), "FGetComponentPath")))
                        : nullptr;
    if (!call)
        return;
    CComPtr<IXMLDOMNode> structure = document.Container(
        section, L"DataStruct",
        {{L"Type", L"ProcedureCall"}, {L"Procedure", L"FGetComponentPath"}, {L"ModulePath", module}});
    const char* qualifiers[] = {application.c_str(), office.c_str(), nullptr};
    const wchar_t* names[] = {L"MSIApplicationLCID", L"MSIOfficeLCID", L"UnspecifiedLCID"};
    for (int i = 0; i < 3; ++i)
    {
        std::string componentCopy = component;
        char path[520] = {};
        call(componentCopy.data(), const_cast<char*>(qualifiers[i]), path, 520, FALSE);
        wchar_t wide[520];
        ::MultiByteToWideChar(CP_THREAD_ACP, 0, path, -1, wide, 520);
        document.Leaf(structure.Get(), L"DataMember", wide, {{L"Type", L"Path"}, {L"Name", names[i]}});
    }
}

std::string Ansi(const std::wstring& text)
{
    std::string ansi(text.size() * 2 + 2, '\0');
    const int length = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()),
                                             ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return ansi + std::string(2, '\0');
}

} // namespace

BaselineResult RunBaseline(const std::wstring& reportPath)
{
    BaselineResult result;
    const double start = NowSeconds();
    CRawDocument document;
    if (!document.Create())
        return result;
    wchar_t stamp[64];
    const std::time_t now = std::time(nullptr);
    std::wcsftime(stamp, 64, L"%Y-%m-%d %H:%M:%S", std::localtime(&now));
    document.Leaf(document.Header(), L"Title", L"Corvane");
    CComPtr<IXMLDOMNode> process = document.Container(document.Header(), L"Process");
    document.Leaf(process.Get(), L"StartedAt", stamp);

    // System information: the version, the product type, the languages and the four folders.
    CComPtr<IXMLDOMNode> system = document.Container(
        document.Data(), L"ReportSection", {{L"id", L"SystemInfo"}, {L"Title", L"System Information"}});
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
    CRegKey options;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_READ,
                    options.Put());
    const std::wstring product = QueryText(options.Get(), L"ProductType");
    wchar_t language[2][128] = {};
    ::GetLocaleInfoW(MAKELCID(::GetSystemDefaultLangID(), SORT_DEFAULT), LOCALE_SENGLANGUAGE, language[0],
                     128);
    ::GetLocaleInfoW(MAKELCID(::GetUserDefaultLangID(), SORT_DEFAULT), LOCALE_SENGLANGUAGE, language[1], 128);
    CComPtr<IXMLDOMNode> os =
        document.Container(system.Get(), L"DataStruct", {{L"Name", L"os_info"}, {L"Title", L"OS"}});
    for (const wchar_t* member : {L"os_name", L"os_platform", L"os_version", L"os_product", L"os_suite"})
        document.Leaf(os.Get(), L"DataMember", product.c_str(), {{L"Name", member}});
    document.Leaf(os.Get(), L"DataMember", language[0], {{L"Name", L"os_langsys"}});
    document.Leaf(os.Get(), L"DataMember", language[1], {{L"Name", L"os_langusr"}});
    CComPtr<IXMLDOMNode> folders =
        document.Container(system.Get(), L"DataList", {{L"Type", L"TypedMap"}, {L"Name", L"sys_folders"}});
    wchar_t systemFolder[MAX_PATH] = {};
    const int csidls[] = {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON};
    const wchar_t* folderNames[] = {L"WindowsFolder", L"SystemFolder", L"ProgramFilesFolder",
                                    L"CommonFilesFolder"};
    for (int i = 0; i < 4; ++i)
    {
        wchar_t path[MAX_PATH] = {};
        ::SHGetFolderPathW(nullptr, csidls[i], nullptr, SHGFP_TYPE_CURRENT, path);
        if (csidls[i] == CSIDL_SYSTEM)
            std::wcscpy(systemFolder, path);
        document.Leaf(folders.Get(), L"DataItem", path, {{L"Type", L"Path"}, {L"Name", folderNames[i]}});
    }

    // Mail clients: the dump, the Outlook client's five settings, the two language keys.
    CComPtr<IXMLDOMNode> mail =
        document.Container(document.Data(), L"ReportSection",
                           {{L"id", L"MailClients"}, {L"Title", L"Mail Clients Configuration"}});
    result.items += DumpHive(document, mail.Get(), HKEY_LOCAL_MACHINE, L"HKLM", kMailKey, 1);
    CRegKey client;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kMailKey) + L"\\" + kOutlookClientName).c_str(), 0,
                    KEY_READ, client.Put());
    const std::wstring component = QueryText(client.Get(), L"MSIComponentID");
    const std::wstring application = QueryText(client.Get(), L"MSIApplicationLCID");
    const std::wstring office = QueryText(client.Get(), L"MSIOfficeLCID");
    QueryText(client.Get(), L"DLLPath");
    QueryText(client.Get(), L"DLLPathEx");
    for (const std::wstring* lcid : {&application, &office})
        result.items += DumpHive(document, mail.Get(), HKEY_CURRENT_USER, L"HKCU",
                                 L"Software\\" + std::wstring(lcid->c_str()), 0);

    // MAPI: the messaging key, the libraries' version records and their component paths.
    CComPtr<IXMLDOMNode> mapi = document.Container(
        document.Data(), L"ReportSection", {{L"id", L"MAPIConfig"}, {L"Title", L"MAPI Configuration"}});
    result.items += DumpHive(document, mapi.Get(), HKEY_LOCAL_MACHINE, L"HKLM", kMessagingKey, 0);
    VersionInfo(document, mapi.Get(), std::wstring(systemFolder) + L"\\MAPISTUB.DLL");
    VersionInfo(document, mapi.Get(), std::wstring(systemFolder) + L"\\MAPI32.DLL");
    const std::string componentAnsi = Ansi(std::wstring(component.c_str()));
    ComponentPaths(document, mapi.Get(), L"MAPISTUB.DLL", componentAnsi, Ansi(application), Ansi(office));
    ComponentPaths(document, mapi.Get(), L"MAPI32.DLL", componentAnsi, Ansi(application), Ansi(office));

    // Outlook: its application path and its module's version record.
    CComPtr<IXMLDOMNode> outlook = document.Container(
        document.Data(), L"ReportSection", {{L"id", L"OutlookInfo"}, {L"Title", L"Microsoft Outlook"}});
    result.items += DumpHive(document, outlook.Get(), HKEY_LOCAL_MACHINE, L"HKLM", kAppPathsKey, 0);
    CRegKey appPaths;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_READ, appPaths.Put());
    std::wstring folder = QueryText(appPaths.Get(), L"Path").c_str();
    folder = folder.substr(0, folder.find(L';')) + L"\\";
    const std::wstring outllib = folder + L"OUTLLIB.DLL";
    VersionInfo(document, outlook.Get(),
                ::PathFileExistsW(outllib.c_str()) ? outllib : folder + L"OUTLOOK.EXE");

    document.Leaf(process.Get(), L"CompletedAt", stamp);
    document.Leaf(document.Header(), L"CreatedAt", stamp);
    result.saved = document.Save(reportPath);
    result.milliseconds = (NowSeconds() - start) * 1000.0;
    return result;
}

} // namespace corvane::scale
