#pragma once
// The run's report: an MSXML DOM document with the fixed skeleton, append operations and the line layout.

#include "framework/ComPtr.h"
#include "report/ElementSpec.h"

#include <msxml2.h>

#include <string>

namespace corvane {

class CReportDocument
{
public:
    CReportDocument() = default;
    CReportDocument(const CReportDocument&) = delete;
    CReportDocument& operator=(const CReportDocument&) = delete;
    ~CReportDocument();

    // Creates the DOM document (class fallback 4.0, 3.0, 2.6) and the skeleton. On failure no member is set.
    HRESULT Create();

    // Appends the element as the last child of parent; out (optional) receives one owned reference.
    HRESULT AppendElement(ElementSpec* spec, IXMLDOMNode* parent, IXMLDOMNode** out = nullptr);
    HRESULT AppendText(const wchar_t* text, IXMLDOMNode* parent, IXMLDOMNode** out = nullptr);
    HRESULT AppendNewline(IXMLDOMNode* parent);
    HRESULT AppendToHeader(ElementSpec* spec, IXMLDOMNode** out = nullptr);
    HRESULT AppendHeaderElement(const wchar_t* name, const wchar_t* text, const AttributePair* attributes,
                                ULONG attributeCount, IXMLDOMNode** out = nullptr);
    HRESULT AppendContainer(const wchar_t* name, IXMLDOMNode* parent, IXMLDOMNode** out = nullptr);
    // Writes the document to path; saved, when given, receives the bytes written.
    HRESULT Save(const wchar_t* path, std::string* saved = nullptr);

    IXMLDOMDocument2* Document() const { return document.Get(); }
    IXMLDOMNode* RootNode() const { return rootNode.Get(); }
    IXMLDOMNode* HeaderNode() const { return headerNode.Get(); }
    IXMLDOMNode* DataNode() const { return dataNode.Get(); }

    // The class that Create uses for every document of this process once one has worked; IID_IUnknown
    // while none has been chosen.
    static CLSID RememberedClass();

    // An empty document of that class (chosen as Create chooses it), for other documents of the run.
    static HRESULT CreateEmptyDocument(CComPtr<IXMLDOMDocument2>& document);

private:
    void ReleaseMembers();

    CComPtr<IXMLDOMDocument2> document;
    CComPtr<IXMLDOMNode> rootNode;
    CComPtr<IXMLDOMNode> headerNode;
    CComPtr<IXMLDOMNode> dataNode;
};

} // namespace corvane
