// The request and the answer travel through two anonymous pipes, the child's standard input and output,
// as counted UTF-16 strings and 32-bit numbers: parent and child are the same program, of one bitness.
#include "probes/mail/ComponentPathChild.h"

#include "framework/HResult.h"
#include "framework/SystemLibrary.h"
#include "framework/UniqueHandle.h"

#include <cstring>
#include <vector>

namespace corvane {

const wchar_t kComponentPathChildArgument[] = L"/corvane-component-path-child";

namespace {

constexpr DWORD kRequestMagic = 0x51504D43; // "CMPQ"
constexpr DWORD kAnswerMagic = 0x41504D43;  // "CMPA"
// More than any request a registry can hold for the qualifiers, and a bound on what a child reads.
constexpr size_t kLargestRequest = 64u * 1024 * 1024;
constexpr size_t kLargestAnswer = 64u * 1024;
constexpr DWORD kAnswerPipeBytes = 64u * 1024;

class CMessage
{
public:
    void Number(DWORD value) { Append(&value, sizeof value); }
    void Text(const std::wstring& text)
    {
        Number(static_cast<DWORD>(text.size()));
        Append(text.data(), text.size() * sizeof(wchar_t));
    }
    const std::vector<char>& Bytes() const { return bytes_; }

private:
    void Append(const void* data, size_t size)
    {
        const char* begin = static_cast<const char*>(data);
        bytes_.insert(bytes_.end(), begin, begin + size);
    }
    std::vector<char> bytes_;
};

class CReader
{
public:
    explicit CReader(const std::vector<char>& bytes) : bytes_(bytes) {}
    bool Number(DWORD& value)
    {
        if (bytes_.size() - offset_ < sizeof value)
            return false;
        std::memcpy(&value, bytes_.data() + offset_, sizeof value);
        offset_ += sizeof value;
        return true;
    }
    bool Text(std::wstring& text)
    {
        DWORD length = 0;
        if (!Number(length) || (bytes_.size() - offset_) / sizeof(wchar_t) < length)
            return false;
        text.assign(length, L'\0');
        std::memcpy(text.data(), bytes_.data() + offset_, length * sizeof(wchar_t));
        offset_ += length * sizeof(wchar_t);
        return true;
    }

private:
    const std::vector<char>& bytes_;
    size_t offset_ = 0;
};

// Everything until the writer closes its end, up to limit bytes.
bool ReadAll(HANDLE pipe, size_t limit, std::vector<char>& bytes)
{
    char buffer[4096];
    for (;;)
    {
        DWORD count = 0;
        if (!::ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) || count == 0)
            return true; // the writer's end is closed
        if (bytes.size() + count > limit)
            return false;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
}

bool WriteAll(HANDLE pipe, const std::vector<char>& bytes)
{
    size_t written = 0;
    while (written < bytes.size())
    {
        DWORD count = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
        if (!::WriteFile(pipe, bytes.data() + written, chunk, &count, nullptr) || count == 0)
            return false;
        written += count;
    }
    return true;
}

// A fault the library does not handle ends the child at once with the fault's code, which the parent
// shows: no debugger is started and no box waits for someone to close it.
LONG WINAPI EndWithFault(EXCEPTION_POINTERS* exception)
{
    const DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode
                                                               : static_cast<DWORD>(E_UNEXPECTED);
    ::TerminateProcess(::GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The child's exit code as the failure of the load it was asked for.
HRESULT FailureOfExitCode(DWORD code)
{
    if (code == 0)
        return HResultFromWin32(ERROR_INVALID_DATA); // it ended without a whole answer
    if (code & 0x80000000u)
        return static_cast<HRESULT>(code); // an exception's code, or an HRESULT
    return HResultFromWin32(code);
}

bool ParseAnswer(const std::vector<char>& bytes, ComponentPathAnswer& answer)
{
    CReader reader(bytes);
    DWORD magic = 0;
    DWORD load = 0;
    if (!reader.Number(magic) || magic != kAnswerMagic || !reader.Number(load))
        return false;
    ComponentPathAnswer parsed;
    parsed.load = static_cast<HRESULT>(load);
    if (SUCCEEDED(parsed.load))
    {
        for (int choice = 0; choice < ComponentPathChoices; ++choice)
        {
            DWORD result = 0;
            if (!reader.Number(result) || !reader.Text(parsed.paths[choice]))
                return false;
            parsed.results[choice] = static_cast<HRESULT>(result);
        }
    }
    answer = std::move(parsed);
    return true;
}

void CloseJob(HANDLE job)
{
    ::CloseHandle(job);
}

} // namespace

int ServeComponentPathQuery()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(&EndWithFault);

    // The pipes are the child's own: a library that prints must not write into the answer.
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetStdHandle(STD_INPUT_HANDLE, nullptr);
    ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
    if (!input || input == INVALID_HANDLE_VALUE || !output || output == INVALID_HANDLE_VALUE)
        return ERROR_INVALID_HANDLE;

    std::vector<char> request;
    if (!ReadAll(input, kLargestRequest, request))
        return ERROR_INVALID_DATA;
    ::CloseHandle(input);
    CReader reader(request);
    DWORD magic = 0;
    std::wstring library;
    std::wstring component;
    std::wstring application;
    std::wstring office;
    if (!reader.Number(magic) || magic != kRequestMagic || !reader.Text(library) || !reader.Text(component) ||
        !reader.Text(application) || !reader.Text(office))
        return ERROR_INVALID_DATA;

    const ComponentPathAnswer answer = QueryComponentPaths(library.c_str(), component, application, office);
    CMessage message;
    message.Number(kAnswerMagic);
    message.Number(static_cast<DWORD>(answer.load));
    if (SUCCEEDED(answer.load))
    {
        for (int choice = 0; choice < ComponentPathChoices; ++choice)
        {
            message.Number(static_cast<DWORD>(answer.results[choice]));
            message.Text(answer.paths[choice]);
        }
    }
    if (!WriteAll(output, message.Bytes()))
        return ERROR_BROKEN_PIPE;
    ::CloseHandle(output);
    return 0;
}

ComponentPathAnswer QueryComponentPathsInChild(const std::wstring& programPath, const wchar_t* libraryPath,
                                               const std::wstring& component,
                                               const std::wstring& applicationQualifier,
                                               const std::wstring& officeQualifier, HANDLE stopEvent,
                                               DWORD timeoutMs, bool& stopped)
{
    stopped = false;
    ComponentPathAnswer answer;
    CMessage request;
    request.Number(kRequestMagic);
    request.Text(libraryPath ? libraryPath : L"");
    request.Text(component);
    request.Text(applicationQualifier);
    request.Text(officeQualifier);

    // The child's ends are inherited; the parent's are not. The request's pipe holds the whole request,
    // so that writing it never waits for a child that does not read.
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    CKernelHandle requestRead;
    CKernelHandle requestWrite;
    CKernelHandle answerRead;
    CKernelHandle answerWrite;
    const DWORD requestBytes = static_cast<DWORD>(request.Bytes().size() + 4096);
    if (!::CreatePipe(requestRead.Put(), requestWrite.Put(), &inheritable, requestBytes) ||
        !::CreatePipe(answerRead.Put(), answerWrite.Put(), &inheritable, kAnswerPipeBytes) ||
        !::SetHandleInformation(requestWrite.Get(), HANDLE_FLAG_INHERIT, 0) ||
        !::SetHandleInformation(answerRead.Get(), HANDLE_FLAG_INHERIT, 0))
    {
        answer.load = FailureFromLastError();
        return answer;
    }

    std::wstring commandLine = L"\"" + programPath + L"\" " + kComponentPathChildArgument;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = requestRead.Get();
    startup.hStdOutput = answerWrite.Get();
    startup.hStdError = nullptr;
    // The System folder as its working directory: nothing of the folder Corvane was started from.
    const std::wstring systemFolder = SystemFolder();
    PROCESS_INFORMATION process{};
    ::SetLastError(ERROR_SUCCESS);
    if (!::CreateProcessW(programPath.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                          systemFolder.empty() ? nullptr : systemFolder.c_str(), &startup, &process))
    {
        answer.load = FailureFromLastError();
        return answer;
    }
    CKernelHandle child(process.hProcess);
    CKernelHandle thread(process.hThread);
    // The child goes when Corvane goes, whatever ends it: a job that ends its processes when it is
    // closed. Where Corvane's own job does not let its children into another (Windows 7 and older), the
    // child runs without one and the bound below still ends it.
    CUniqueHandle<HANDLE, CloseJob> job(::CreateJobObjectW(nullptr, nullptr));
    if (job)
    {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                       sizeof(limits)) ||
            !::AssignProcessToJobObject(job.Get(), child.Get()))
            job.Reset();
    }
    ::ResumeThread(thread.Get());
    thread.Reset();
    requestRead.Reset();
    answerWrite.Reset();

    // A child that ends before it reads breaks the pipe: its exit code says why.
    WriteAll(requestWrite.Get(), request.Bytes());
    requestWrite.Reset();

    HANDLE waits[2] = {child.Get(), stopEvent};
    const DWORD count = stopEvent ? 2 : 1;
    const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, timeoutMs);
    if (woken != WAIT_OBJECT_0)
    {
        const DWORD reason = woken == WAIT_OBJECT_0 + 1 ? ERROR_CANCELLED : ERROR_TIMEOUT;
        stopped = reason == ERROR_CANCELLED;
        ::TerminateProcess(child.Get(), reason);
        ::WaitForSingleObject(child.Get(), INFINITE);
        answer.load = HResultFromWin32(reason);
        return answer;
    }

    std::vector<char> bytes;
    const bool whole = ReadAll(answerRead.Get(), kLargestAnswer, bytes);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(child.Get(), &exitCode);
    if (exitCode != 0 || !whole || !ParseAnswer(bytes, answer))
        answer.load = FailureOfExitCode(exitCode);
    return answer;
}

} // namespace corvane
