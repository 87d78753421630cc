// The questions and answers travel through two anonymous pipes, the child's standard input and output,
// each a 32-bit byte count and that many bytes of counted UTF-16 strings and 32-bit numbers: parent and
// child are the same program, of one bitness.
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
// Questions hold the language values whole; the pipe takes the usual ones without waiting for the child.
constexpr DWORD kQuestionPipeBytes = 1024u * 1024;
// How long a child that was told there are no more questions, or that cut its answer short, is given to
// go.
constexpr DWORD kEndGraceMs = 2000;
// The longest pause between two looks at the answer pipe while a question is out.
constexpr DWORD kLookIntervalMs = 10;

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

// Exactly size bytes; false at the end of the pipe or on a failure.
bool ReadExact(HANDLE pipe, void* buffer, size_t size)
{
    char* target = static_cast<char*>(buffer);
    while (size > 0)
    {
        DWORD count = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
        if (!::ReadFile(pipe, target, chunk, &count, nullptr) || count == 0)
            return false;
        target += count;
        size -= count;
    }
    return true;
}

// One message: its byte count, then its bytes, up to limit bytes.
bool ReadFrame(HANDLE pipe, size_t limit, std::vector<char>& bytes)
{
    DWORD size = 0;
    if (!ReadExact(pipe, &size, sizeof size) || size > limit)
        return false;
    bytes.assign(size, '\0');
    return ReadExact(pipe, bytes.data(), size);
}

bool WriteAll(HANDLE pipe, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    while (written < size)
    {
        DWORD count = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - written, 1u << 20));
        if (!::WriteFile(pipe, bytes + written, chunk, &count, nullptr) || count == 0)
            return false;
        written += count;
    }
    return true;
}

bool WriteFrame(HANDLE pipe, const std::vector<char>& bytes)
{
    const DWORD size = static_cast<DWORD>(bytes.size());
    return WriteAll(pipe, &size, sizeof size) && WriteAll(pipe, bytes.data(), bytes.size());
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

    std::vector<char> question;
    for (;;)
    {
        DWORD size = 0;
        if (!ReadExact(input, &size, sizeof size))
            return 0; // no more questions
        if (size > kLargestRequest)
            return ERROR_INVALID_DATA;
        question.assign(size, '\0');
        if (!ReadExact(input, question.data(), size))
            return ERROR_INVALID_DATA;
        CReader reader(question);
        DWORD magic = 0;
        std::wstring library;
        std::wstring component;
        std::wstring application;
        std::wstring office;
        if (!reader.Number(magic) || magic != kRequestMagic || !reader.Text(library) ||
            !reader.Text(component) || !reader.Text(application) || !reader.Text(office))
            return ERROR_INVALID_DATA;

        const ComponentPathAnswer answer =
            QueryComponentPaths(library.c_str(), component, application, office);
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
        if (!WriteFrame(output, message.Bytes()))
            return ERROR_BROKEN_PIPE;
    }
}

CComponentPathChild::CComponentPathChild(std::wstring programPath) : program_(std::move(programPath)) {}

CComponentPathChild::~CComponentPathChild()
{
    if (!process_)
        return;
    // Its job ends it at once; without one, no more questions end its loop.
    if (job_)
    {
        job_.Reset();
        return;
    }
    questions_.Reset();
    if (::WaitForSingleObject(process_.Get(), kEndGraceMs) != WAIT_OBJECT_0)
        ::TerminateProcess(process_.Get(), ERROR_CANCELLED);
}

void CComponentPathChild::End(DWORD exitCode)
{
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0)
    {
        ::TerminateProcess(process_.Get(), exitCode);
        ::WaitForSingleObject(process_.Get(), INFINITE);
    }
    questions_.Reset();
    answers_.Reset();
    process_.Reset();
    job_.Reset();
}

void CComponentPathChild::Start()
{
    if (process_)
        return;
    startFailure_ = S_OK;
    // The child's ends are inherited; this side's are not.
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    CKernelHandle questionRead;
    CKernelHandle questionWrite;
    CKernelHandle answerRead;
    CKernelHandle answerWrite;
    if (!::CreatePipe(questionRead.Put(), questionWrite.Put(), &inheritable, kQuestionPipeBytes) ||
        !::CreatePipe(answerRead.Put(), answerWrite.Put(), &inheritable, kAnswerPipeBytes) ||
        !::SetHandleInformation(questionWrite.Get(), HANDLE_FLAG_INHERIT, 0) ||
        !::SetHandleInformation(answerRead.Get(), HANDLE_FLAG_INHERIT, 0))
    {
        startFailure_ = FailureFromLastError();
        return;
    }

    std::wstring commandLine = L"\"" + program_ + L"\" " + kComponentPathChildArgument;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = questionRead.Get();
    startup.hStdOutput = answerWrite.Get();
    startup.hStdError = nullptr;
    // The System folder as its working directory: nothing of the folder Corvane was started from.
    const std::wstring systemFolder = SystemFolder();
    PROCESS_INFORMATION process{};
    ::SetLastError(ERROR_SUCCESS);
    if (!::CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                          systemFolder.empty() ? nullptr : systemFolder.c_str(), &startup, &process))
    {
        startFailure_ = FailureFromLastError();
        return;
    }
    process_.Reset(process.hProcess);
    CKernelHandle thread(process.hThread);
    // The child goes when Corvane goes, whatever ends it: a job that ends its processes when it is
    // closed. Where Corvane's own job does not let its children into another (Windows 7 and older), the
    // child runs without one, and the bound on each question and the destructor still end it.
    job_.Reset(::CreateJobObjectW(nullptr, nullptr));
    if (job_)
    {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!::SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits,
                                       sizeof(limits)) ||
            !::AssignProcessToJobObject(job_.Get(), process_.Get()))
            job_.Reset();
    }
    ::ResumeThread(thread.Get());
    questions_ = std::move(questionWrite);
    answers_ = std::move(answerRead);
}

ComponentPathAnswer CComponentPathChild::Query(const wchar_t* libraryPath, const std::wstring& component,
                                               const std::wstring& applicationQualifier,
                                               const std::wstring& officeQualifier, HANDLE stopEvent,
                                               DWORD timeoutMs, bool& stopped)
{
    stopped = false;
    ComponentPathAnswer answer;
    Start();
    if (!process_)
    {
        answer.load = FAILED(startFailure_) ? startFailure_ : E_FAIL;
        return answer;
    }
    CMessage question;
    question.Number(kRequestMagic);
    question.Text(libraryPath ? libraryPath : L"");
    question.Text(component);
    question.Text(applicationQualifier);
    question.Text(officeQualifier);
    // A child that has ended breaks the pipe: its exit code says why, below.
    WriteFrame(questions_.Get(), question.Bytes());

    // The answer, or the child's end, or Stop, or the bound: whichever comes first. Anonymous pipes have
    // no waitable reads, so the pipe is looked at between short waits on the child and on Stop.
    const DWORD start = ::GetTickCount();
    DWORD pause = 1;
    for (;;)
    {
        DWORD available = 0;
        if (::PeekNamedPipe(answers_.Get(), nullptr, 0, nullptr, &available, nullptr) && available > 0)
            break;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
        {
            End(ERROR_TIMEOUT);
            answer.load = HResultFromWin32(ERROR_TIMEOUT);
            return answer;
        }
        HANDLE waits[2] = {process_.Get(), stopEvent};
        const DWORD woken =
            ::WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, std::min(pause, timeoutMs - elapsed));
        if (woken == WAIT_OBJECT_0 + 1)
        {
            stopped = true;
            End(ERROR_CANCELLED);
            answer.load = HResultFromWin32(ERROR_CANCELLED);
            return answer;
        }
        if (woken == WAIT_OBJECT_0)
            break; // ended: whatever it wrote before is read below
        pause = std::min<DWORD>(pause * 2, kLookIntervalMs);
    }

    std::vector<char> bytes;
    if (ReadFrame(answers_.Get(), kLargestAnswer, bytes) && ParseAnswer(bytes, answer))
        return answer;
    // No whole answer: the child ended, or is about to with the fault that cut its answer short.
    ::WaitForSingleObject(process_.Get(), kEndGraceMs);
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process_.Get(), &exitCode) || exitCode == STILL_ACTIVE)
        exitCode = 0;
    End(ERROR_INVALID_DATA);
    answer = ComponentPathAnswer{};
    answer.load = FailureOfExitCode(exitCode);
    return answer;
}

} // namespace corvane
