#include "report/ReportDocument.h"

#include "framework/HResult.h"
#include "framework/ReplaceFile.h"
#include "framework/ScopeExit.h"
#include "framework/UniqueHandle.h"
#include "framework/Variant.h"
#include "report/ReportVocabulary.h"
#include "report/XmlText.h"

#include <string>
#include <string_view>

namespace corvane {

namespace {

// {88d969c0-f192-11d4-a65f-0040963251e5}
constexpr CLSID kDomDocument40 = {
    0x88d969c0, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
// {f5078f32-c551-11d3-89b9-0000f81fe221}
constexpr CLSID kDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
// {f5078f1b-c551-11d3-89b9-0000f81fe221}
constexpr CLSID kDomDocument26 = {
    0xf5078f1b, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
// {2933bf95-7b36-11d2-b20e-00c04f983e60}
constexpr IID kIidDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
// {2933bf80-7b36-11d2-b20e-00c04f983e60}
constexpr IID kIidNode = {0x2933bf80, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
// {00000000-0000-0000-C000-000000000046}: no class chosen yet
constexpr CLSID kNoClass = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Chosen once for the process, not per document: every report the program makes is then built and saved
// by the same MSXML version, whichever document comes first, and the versions that are not installed are
// looked up once rather than before every document.
CLSID g_rememberedClass = kNoClass;

HRESULT CreateDocument(const CLSID& documentClass, CComPtr<IXMLDOMDocument2>& document)
{
    return ::CoCreateInstance(documentClass, nullptr, CLSCTX_INPROC_SERVER, kIidDocument2,
                              document.PutVoid());
}

// The declaration's data, and the line that Save writes for the declaration node (as MSXML writes it).
#define CORVANE_DECLARATION_DATA "version='1.0' encoding='utf-8' "
constexpr wchar_t kDeclarationData[] = L"" CORVANE_DECLARATION_DATA;
constexpr char kDeclarationLine[] = "<?xml " CORVANE_DECLARATION_DATA "?>\n";
#undef CORVANE_DECLARATION_DATA

// The document without its declaration, as the UTF-8 bytes that MSXML writes for it.
HRESULT SerialiseToMemory(IXMLDOMDocument2* document, std::string& content)
{
    CComPtr<IStream> stream;
    RETURN_IF_FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    VARIANT destination;
    ::VariantInit(&destination);
    V_VT(&destination) = VT_UNKNOWN;
    V_UNKNOWN(&destination) = stream.Get(); // borrowed: the variant is not cleared
    RETURN_IF_FAILED(document->save(destination));

    STATSTG status{};
    RETURN_IF_FAILED(stream->Stat(&status, STATFLAG_NONAME));
    if (status.cbSize.QuadPart > 0x7fffffffULL)
        return E_OUTOFMEMORY;
    content.resize(static_cast<size_t>(status.cbSize.QuadPart));
    const LARGE_INTEGER start{};
    RETURN_IF_FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr));
    ULONG read = 0;
    RETURN_IF_FAILED(stream->Read(content.data(), static_cast<ULONG>(content.size()), &read));
    content.resize(read);
    return S_OK;
}

// Puts the declaration back as the document's first child.
HRESULT RestoreDeclaration(IXMLDOMDocument2* document, IXMLDOMNode* declaration)
{
    CComPtr<IXMLDOMNode> first;
    RETURN_IF_FAILED(document->get_firstChild(first.Put()));
    VARIANT before;
    ::VariantInit(&before);
    if (first)
    {
        V_VT(&before) = VT_UNKNOWN;
        V_UNKNOWN(&before) = first.Get(); // borrowed: the variant is not cleared
    }
    CComPtr<IXMLDOMNode> inserted;
    return document->insertBefore(declaration, before, inserted.Put());
}

} // namespace

CLSID CReportDocument::RememberedClass()
{
    return g_rememberedClass;
}

CReportDocument::~CReportDocument()
{
    ReleaseMembers();
}

void CReportDocument::ReleaseMembers()
{
    dataNode.Reset();
    headerNode.Reset();
    rootNode.Reset();
    document.Reset();
}

HRESULT CReportDocument::CreateEmptyDocument(CComPtr<IXMLDOMDocument2>& document)
{
    HRESULT hr = E_FAIL;
    if (::IsEqualCLSID(g_rememberedClass, kNoClass))
    {
        for (const CLSID* candidate : {&kDomDocument40, &kDomDocument30, &kDomDocument26})
        {
            hr = CreateDocument(*candidate, document);
            if (SUCCEEDED(hr))
            {
                g_rememberedClass = *candidate;
                break;
            }
        }
        if (FAILED(hr))
        {
            g_rememberedClass = kNoClass;
            return hr;
        }
    }
    else
    {
        RETURN_IF_FAILED(CreateDocument(g_rememberedClass, document));
    }
    return document ? S_OK : E_POINTER;
}

HRESULT CReportDocument::Create()
{
    ReleaseMembers();
    RETURN_IF_FAILED(CreateEmptyDocument(document));
    // A document that could not be given its skeleton is not kept.
    CScopeExit dropDocument([this] { document.Reset(); });

    CComPtr<IXMLDOMNode> documentNode;
    HRESULT hr = document->QueryInterface(kIidNode, documentNode.PutVoid());
    if (FAILED(hr) && hr != E_NOINTERFACE)
        return hr;

    CBstr target;
    CBstr data;
    hr = MakeBstr(L"xml", target);
    if (SUCCEEDED(hr))
        hr = MakeBstr(kDeclarationData, data);
    CComPtr<IXMLDOMProcessingInstruction> declaration;
    if (SUCCEEDED(hr))
        hr = document->createProcessingInstruction(target.Get(), data.Get(), declaration.Put());
    if (SUCCEEDED(hr) && !declaration)
        hr = E_POINTER;
    if (SUCCEEDED(hr))
    {
        CComPtr<IXMLDOMNode> appended;
        hr = document->appendChild(declaration.Get(), appended.Put());
        if (SUCCEEDED(hr) && !appended)
            hr = E_POINTER;
    }
    RETURN_IF_FAILED(hr);

    const AttributePair rootAttributes[] = {
        {xml::TypeAttribute, xml::ReportType}, {xml::VersionAttribute, xml::ReportVersion}, {}};
    ElementSpec rootSpec(xml::Report, nullptr, rootAttributes);
    ElementSpec headerSpec(xml::ReportHeader);
    ElementSpec dataSpec(xml::ReportData);
    CComPtr<IXMLDOMNode> root;
    CComPtr<IXMLDOMNode> header;
    CComPtr<IXMLDOMNode> reportData;
    hr = AppendElement(&rootSpec, documentNode.Get(), root.Put());
    if (SUCCEEDED(hr))
        hr = AppendElement(&headerSpec, root.Get(), header.Put());
    if (SUCCEEDED(hr))
        hr = AppendElement(&dataSpec, root.Get(), reportData.Put());
    RETURN_IF_FAILED(hr);
    dropDocument.Release();
    rootNode = std::move(root);
    headerNode = std::move(header);
    dataNode = std::move(reportData);
    return hr;
}

HRESULT CReportDocument::AppendElement(ElementSpec* spec, IXMLDOMNode* parent, IXMLDOMNode** out)
{
    if (!document)
        return E_UNEXPECTED;
    if (!spec || !parent)
        return E_POINTER;
    if (spec->nodeType != 1 || !spec->name)
        return E_INVALIDARG;
    if (out)
        *out = nullptr;
    spec->ResolveAttributeCount();

    CBstr name;
    RETURN_IF_FAILED(MakeBstr(spec->name, name));
    CComPtr<IXMLDOMElement> element;
    RETURN_IF_FAILED(document->createElement(name.Get(), element.Put()));
    if (!element)
        return E_POINTER;

    if (spec->text)
    {
        CBstr text;
        RETURN_IF_FAILED(MakeXmlBstr(spec->text, text));
        CComPtr<IXMLDOMText> textNode;
        RETURN_IF_FAILED(document->createTextNode(text.Get(), textNode.Put()));
        CComPtr<IXMLDOMNode> appendedText;
        RETURN_IF_FAILED(element->appendChild(textNode.Get(), appendedText.Put()));
    }

    for (ULONG i = 0; i < spec->attributeCount; ++i)
    {
        const AttributePair& pair = spec->attributes[i];
        CBstr attributeName;
        RETURN_IF_FAILED(MakeBstr(pair.name, attributeName));
        CBstr value;
        RETURN_IF_FAILED(MakeXmlBstr(pair.value ? pair.value : pair.name, value));
        CVariant variant;
        RETURN_IF_FAILED(variant.SetBstr(value.Release()));
        RETURN_IF_FAILED(element->setAttribute(attributeName.Get(), variant.Get()));
    }

    CComPtr<IXMLDOMNode> elementNode;
    HRESULT hr = element->QueryInterface(kIidNode, elementNode.PutVoid());
    if (FAILED(hr) && hr != E_NOINTERFACE)
        return hr;

    if (!spec->text)
        AppendNewline(elementNode.Get());

    CComPtr<IXMLDOMNode> appended;
    hr = parent->appendChild(elementNode.Get(), appended.Put());

    if (spec->text)
        AppendNewline(parent);

    if (SUCCEEDED(hr) && out)
        appended.CopyTo(out);
    return hr;
}

HRESULT CReportDocument::AppendText(const wchar_t* text, IXMLDOMNode* parent, IXMLDOMNode** out)
{
    if (!document)
        return E_UNEXPECTED;
    if (!text || !parent)
        return E_INVALIDARG;
    if (out)
        *out = nullptr;
    CBstr copy;
    RETURN_IF_FAILED(MakeXmlBstr(text, copy));
    CComPtr<IXMLDOMText> textNode;
    RETURN_IF_FAILED(document->createTextNode(copy.Get(), textNode.Put()));
    CComPtr<IXMLDOMNode> appended;
    const HRESULT hr = parent->appendChild(textNode.Get(), appended.Put());
    if (SUCCEEDED(hr) && out)
        appended.CopyTo(out);
    return hr;
}

HRESULT CReportDocument::AppendNewline(IXMLDOMNode* parent)
{
    return AppendText(L"\n", parent);
}

HRESULT CReportDocument::AppendToHeader(ElementSpec* spec, IXMLDOMNode** out)
{
    if (!headerNode)
        return E_UNEXPECTED;
    return AppendElement(spec, headerNode.Get(), out);
}

HRESULT CReportDocument::AppendHeaderElement(const wchar_t* name, const wchar_t* text,
                                             const AttributePair* attributes, ULONG attributeCount,
                                             IXMLDOMNode** out)
{
    if (!headerNode)
        return E_UNEXPECTED;
    ElementSpec spec(name, text, attributes, attributeCount);
    return AppendToHeader(&spec, out);
}

HRESULT CReportDocument::AppendContainer(const wchar_t* name, IXMLDOMNode* parent, IXMLDOMNode** out)
{
    if (!document)
        return E_UNEXPECTED;
    ElementSpec spec(name);
    return AppendElement(&spec, parent, out);
}

HRESULT CReportDocument::Save(const wchar_t* path, std::string* saved)
{
    if (!path || !*path)
        return E_INVALIDARG;
    if (!document)
        return E_UNEXPECTED;
    AppendNewline(rootNode.Get());

    // A document that MSXML serialises with its declaration node in place is never freed again (Wine's
    // MSXML keeps the whole tree, some hundred kilobytes a run). So the declaration is taken out while
    // the rest is serialised into memory, written at the head of the file by hand with the same text,
    // and put back: the file is the same, and the document goes when its last reference does.
    CComPtr<IXMLDOMNode> declaration;
    RETURN_IF_FAILED(document->get_firstChild(declaration.Put()));
    if (!declaration)
        return E_UNEXPECTED;
    CComPtr<IXMLDOMNode> removed;
    RETURN_IF_FAILED(document->removeChild(declaration.Get(), removed.Put()));
    std::string content;
    const HRESULT serialised = SerialiseToMemory(document.Get(), content);
    RETURN_IF_FAILED(RestoreDeclaration(document.Get(), declaration.Get()));
    RETURN_IF_FAILED(serialised);
    RETURN_IF_FAILED(ReplaceFileWith(path, {std::string_view(kDeclarationLine), std::string_view(content)}));
    if (saved)
        *saved = kDeclarationLine + content;
    return S_OK;
}

} // namespace corvane
