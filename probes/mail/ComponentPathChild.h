#pragma once
// A MAPI library asked in a child process: a library that faults in its DllMain or in FGetComponentPath,
// or never returns, ends the child and not the run. The child is the program itself, started with an
// internal argument; it answers with exactly what the call gave in its own process.

#include "probes/mail/ComponentPathQuery.h"

#include <string>

namespace corvane {

// The child's one argument. The usage text does not offer it.
extern const wchar_t kComponentPathChildArgument[];

// How long a child may take before it is ended.
inline constexpr DWORD kComponentPathChildTimeoutMs = 30000;

// The child's whole life, for a program whose one argument is kComponentPathChildArgument: one request
// from standard input, one answer to standard output. Returns the exit code: 0 when it answered.
int ServeComponentPathQuery();

// The request of QueryComponentPaths, asked of a child started from programPath (this program's own file,
// for the child to be of its bitness and start-up). The answer is the child's; when the child ends
// without one, load fails with its exit code (an exception's code for a fault), with
// HRESULT_FROM_WIN32(ERROR_TIMEOUT) when it ran past timeoutMs, and with HRESULT_FROM_WIN32(ERROR_CANCELLED)
// when stopEvent (may be null) was signalled first: stopped then says that the wait took the signal.
ComponentPathAnswer QueryComponentPathsInChild(const std::wstring& programPath, const wchar_t* libraryPath,
                                               const std::wstring& component,
                                               const std::wstring& applicationQualifier,
                                               const std::wstring& officeQualifier, HANDLE stopEvent,
                                               DWORD timeoutMs, bool& stopped);

} // namespace corvane
