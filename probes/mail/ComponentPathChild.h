#pragma once
// A MAPI library asked in a child process: a library that faults in its DllMain or in FGetComponentPath,
// or never returns, ends the child and not the run. The child is the program itself, started with an
// internal argument and the same start-up; it answers with exactly what the call gave in its own process.
// One child serves the questions of a run, one after the other; a child that ends or is ended with a
// question unanswered costs that question its answer, and the next question starts a new child.

#include "framework/UniqueHandle.h"
#include "probes/mail/ComponentPathQuery.h"

#include <string>

namespace corvane {

// The child's one argument. The usage text does not offer it.
extern const wchar_t kComponentPathChildArgument[];

// How long one question may take before its child is ended.
inline constexpr DWORD kComponentPathChildTimeoutMs = 30000;

// The child's whole life, for a program whose one argument is kComponentPathChildArgument: questions from
// standard input, answers to standard output, until the input ends. Returns the exit code: 0 when every
// question it read was answered.
int ServeComponentPathQuery();

class CComponentPathChild
{
public:
    // programPath: this program's own file, for the child to be of its bitness and start-up.
    explicit CComponentPathChild(std::wstring programPath);
    CComponentPathChild(const CComponentPathChild&) = delete;
    CComponentPathChild& operator=(const CComponentPathChild&) = delete;
    // A child still there is told that there are no more questions, and ended if it does not go.
    ~CComponentPathChild();

    // Starts a child, when none is running, without waiting for it to be ready: it gets ready while the
    // run does other things. A failure to start is the next question's answer.
    void Start();

    // The question of QueryComponentPaths, asked of the child. When the child ends without an answer,
    // load fails with its exit code (an exception's code for a fault); with
    // HRESULT_FROM_WIN32(ERROR_TIMEOUT) when it took longer than timeoutMs, and with
    // HRESULT_FROM_WIN32(ERROR_CANCELLED) when stopEvent (may be null) was signalled first: stopped then
    // says that the wait took the signal.
    ComponentPathAnswer Query(const wchar_t* libraryPath, const std::wstring& component,
                              const std::wstring& applicationQualifier, const std::wstring& officeQualifier,
                              HANDLE stopEvent, DWORD timeoutMs, bool& stopped);

private:
    void End(DWORD exitCode);

    static void CloseJob(HANDLE job) { ::CloseHandle(job); }

    std::wstring program_;
    HRESULT startFailure_ = S_OK;
    CKernelHandle process_;
    CKernelHandle questions_; // the child's standard input, this side
    CKernelHandle answers_;   // the child's standard output, this side
    CUniqueHandle<HANDLE, CloseJob> job_;
};

} // namespace corvane
