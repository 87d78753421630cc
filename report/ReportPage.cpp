#include "report/ReportPage.h"

#include "framework/ComPtr.h"
#include "framework/HResult.h"
#include "report/ReportDocument.h"
#include "res/resource.h"

#include <cstring>

namespace corvane {

namespace {

// A stream over a copy of the bytes.
HRESULT StreamOf(const void* bytes, size_t size, CComPtr<IStream>& stream)
{
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (!memory)
        return E_OUTOFMEMORY;
    void* target = ::GlobalLock(memory);
    if (!target)
    {
        const HRESULT locked = FailureFromLastError();
        ::GlobalFree(memory);
        return locked;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory);
    const HRESULT hr = ::CreateStreamOnHGlobal(memory, TRUE, stream.Put());
    if (FAILED(hr))
    {
        ::GlobalFree(memory);
        return hr;
    }
    const ULARGE_INTEGER length{{static_cast<DWORD>(size), 0}};
    return stream->SetSize(length);
}

// The document of the bytes, its white space kept as it is in them (as xsltproc keeps it).
HRESULT LoadDocument(const void* bytes, size_t size, CComPtr<IXMLDOMDocument2>& document)
{
    RETURN_IF_FAILED(CReportDocument::CreateEmptyDocument(document));
    RETURN_IF_FAILED(document->put_async(VARIANT_FALSE));
    RETURN_IF_FAILED(document->put_preserveWhiteSpace(VARIANT_TRUE));
    // Nothing the report holds is fetched or resolved: it has no DTD, and the stylesheet needs none.
    RETURN_IF_FAILED(document->put_resolveExternals(VARIANT_FALSE));
    RETURN_IF_FAILED(document->put_validateOnParse(VARIANT_FALSE));
    CComPtr<IStream> stream;
    RETURN_IF_FAILED(StreamOf(bytes, size, stream));
    VARIANT source;
    ::VariantInit(&source);
    V_VT(&source) = VT_UNKNOWN;
    V_UNKNOWN(&source) = stream.Get(); // borrowed: the variant is not cleared
    VARIANT_BOOL loaded = VARIANT_FALSE;
    RETURN_IF_FAILED(document->load(source, &loaded));
    return loaded == VARIANT_TRUE ? S_OK : HResultFromWin32(ERROR_INVALID_DATA);
}

// The bytes that the transformation wrote into the stream.
HRESULT BytesOf(IStream* stream, std::string& bytes)
{
    HGLOBAL memory = nullptr;
    RETURN_IF_FAILED(::GetHGlobalFromStream(stream, &memory));
    STATSTG status{};
    RETURN_IF_FAILED(stream->Stat(&status, STATFLAG_NONAME));
    const size_t size = static_cast<size_t>(status.cbSize.QuadPart);
    const void* data = ::GlobalLock(memory);
    if (!data && size > 0)
        return FailureFromLastError();
    bytes.assign(static_cast<const char*>(data), size);
    ::GlobalUnlock(memory);
    return S_OK;
}

} // namespace

HRESULT MakeReportPage(HMODULE module, const std::string& report, std::string& page)
{
    page.clear();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_REPORT_STYLESHEET), MAKEINTRESOURCEW(10));
    if (!found)
        return FailureFromLastError();
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* stylesheetBytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!stylesheetBytes)
        return FailureFromLastError();
    CComPtr<IXMLDOMDocument2> stylesheet;
    RETURN_IF_FAILED(LoadDocument(stylesheetBytes, ::SizeofResource(module, found), stylesheet));
    CComPtr<IXMLDOMDocument2> document;
    RETURN_IF_FAILED(LoadDocument(report.data(), report.size(), document));

    // Into a stream, so that the page is written in the stylesheet's own encoding (UTF-8) and says so
    // in its head; a string result would be UTF-16 and name that.
    CComPtr<IStream> output;
    RETURN_IF_FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, output.Put()));
    VARIANT destination;
    ::VariantInit(&destination);
    V_VT(&destination) = VT_UNKNOWN;
    V_UNKNOWN(&destination) = output.Get(); // borrowed
    RETURN_IF_FAILED(document->transformNodeToObject(stylesheet.Get(), destination));
    RETURN_IF_FAILED(BytesOf(output.Get(), page));
    // xsltproc ends the page with a line end; so does Corvane, so that both write the same file.
    if (!page.empty() && page.back() != '\n')
        page += '\n';
    return S_OK;
}

} // namespace corvane
