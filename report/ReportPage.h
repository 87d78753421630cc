#pragma once
// The report's readable page, Corvane.html: the program's stylesheet (report/Corvane.xsl, a resource of
// the program) applied by MSXML to the report as it was saved, so that the page is what xsltproc makes of
// the same file.

#include <windows.h>

#include <string>

namespace corvane {

// The page of the saved report's bytes (UTF-8), as UTF-8 HTML; module holds the stylesheet resource.
HRESULT MakeReportPage(HMODULE module, const std::string& report, std::string& page);

} // namespace corvane
