#include "engine/TestThreadProc.h"

#include "engine/OutputFolder.h"
#include "engine/ProgramBitness.h"
#include "engine/ReportData.h"
#include "framework/ComPtr.h"
#include "framework/PathText.h"
#include "framework/ReplaceFile.h"
#include "framework/StringTable.h"
#include "probes/inventory/SessionNames.h"
#include "probes/mail/ComponentPathChild.h"
#include "report/ReportPage.h"
#include "report/ReportVocabulary.h"
#include "res/resource.h"

#include <ctime>
#include <memory>
#include <optional>

namespace corvane {

namespace {

using Probe = HRESULT (CReportData::*)(IXMLDOMNode* section);

struct ProbeStep
{
    Probe probe;
    RunResult failure; // when the probe returns a negative status
};

struct Section
{
    UINT title;
    const wchar_t* id;
    ProbeStep probes[3];
};

const Section kSections[] = {
    {IDS_SECTION_SYSTEM,
     xml::SectionSystemInfo,
     {{&CReportData::CheckSystemVersion, RunSystemVersionFailed},
      {&CReportData::CheckSystemFolders, RunSystemFoldersFailed},
      {}}},
    {IDS_SECTION_MAIL_CLIENTS,
     xml::SectionMailClients,
     {{&CReportData::CheckMailClients, RunMailClientsFailed},
      {&CReportData::CheckOutlookLanguageKeys, RunOutlookLanguageKeysFailed},
      {}}},
    {IDS_SECTION_MAPI,
     xml::SectionMapiConfig,
     {{&CReportData::CheckMessagingSubsystem, RunMessagingSubsystemFailed},
      {&CReportData::CheckMapiModules, RunMapiModulesFailed},
      {&CReportData::CheckMapiComponentPaths, RunMapiComponentPathsFailed}}},
    {IDS_SECTION_OUTLOOK,
     xml::SectionOutlookInfo,
     {{&CReportData::CheckOutlookAppPath, RunOutlookAppPathFailed},
      {&CReportData::CheckOutlookModule, RunOutlookModuleFailed},
      {}}},
};

// The two parts after the sections: for a run whose sections completed or failed, never after a Stop.
// Their results change nothing of the run's, and they take no step of the progress bar.
struct Part
{
    UINT title;
    const wchar_t* id;
    Probe probe;
};

const Part kParts[] = {
    {IDS_SECTION_INVENTORY, xml::SectionInventory, &CReportData::CheckInventory},
    {IDS_SECTION_FINDINGS, xml::SectionFindings, &CReportData::CheckFindings},
};

long long Now()
{
    return static_cast<long long>(::_time64(nullptr));
}

// The local date of a time; none when it cannot be converted.
std::optional<CalendarDate> LocalDate(long long secondsSince1970)
{
    const std::time_t time = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_s(&local, &time) != 0)
        return std::nullopt;
    return CalendarDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

#ifdef _WIN64
constexpr Bitness kThisProgram = Bitness::X64;
#else
constexpr Bitness kThisProgram = Bitness::X86;
#endif

// One run from the start barrier to the return; the members are the run-local values.
class CTestRun
{
public:
    explicit CTestRun(CReportData& engine) : engine_(engine) {}

    int Run()
    {
        {
            // Start barrier: the Execute handler holds the lock until it has finished starting the run.
            CScopedLock barrier(engine_);
            engine_.reportPath.clear();
            engine_.pagePath.clear();
            engine_.reportRow = -1;
        }
        engine_.stopSeen = false;
        engine_.facts = RunFacts{};
        try
        {
            Start();
            if (OpenDocument())
            {
                WriteHead();
                RunSections();
                RunParts();
            }
        }
        catch (...)
        {
            // Out of memory in a text or a failed wrapper call: the run fails, but it still ends.
            Fail();
        }
        EndChild();
        EndPhase();
        return result_;
    }

private:
    // The row's index, negative when it could not be kept.
    int Log(EventIcon icon, UINT stringId, ...)
    {
        va_list arguments;
        va_start(arguments, stringId);
        text_ = FormatResourceStringV(stringId, arguments);
        va_end(arguments);
        return engine_.InsertEvent(-1, EventStyle(icon, 0), text_.c_str());
    }

    void Fail()
    {
        if (result_ >= 0)
            result_ = RunReportFailed;
    }

    void Start()
    {
        engine_.RemoveEvent(-1);
        engine_.UpdateProgress(ProgressReset, 10, DefaultStatusText);
        startTime_ = Now();
        Log(EventIcon::Info, IDS_TEST_STARTED, xml::FormatTimestamp(startTime_).c_str());

        // What the findings know of the run itself; the names go into the report's header too.
        FindingFacts& examined = engine_.facts.examined;
        examined.programBitness = kThisProgram;
        examined.runDate = LocalDate(startTime_);
        std::wstring name;
        if (SUCCEEDED(QueryComputerName(name)))
            examined.computerName = name;
        if (SUCCEEDED(QueryUserName(name)))
            examined.userName = name;
    }

    // The child that will ask the MAPI libraries, once the mail clients step has found that the MAPI
    // section will ask them: it gets ready while the steps between run.
    void StartChild()
    {
        if (child_ || !engine_.facts.outlook.hasLcidKeys)
            return;
        std::wstring program;
        if (FAILED(QueryProgramPath(program)))
            return; // each question then finds the failure itself
        child_ = std::make_unique<CComponentPathChild>(program);
        child_->Start();
        engine_.componentPathChild = child_.get();
    }

    // Before the end phase takes the lock: the child is told to go, and may take a moment.
    void EndChild()
    {
        engine_.componentPathChild = nullptr;
        child_.reset();
    }

    // False when a report was wanted and could not be made: the run goes straight to its end.
    bool OpenDocument()
    {
        if (!engine_.saveReport)
            return true;
        HRESULT hr;
        {
            CScopedLock lock(engine_);
            hr = engine_.OpenReport(&document_);
        }
        if (SUCCEEDED(hr) && document_)
            return true;
        document_ = nullptr;
        Log(EventIcon::Warning, IDS_XML_INIT_FAILED, static_cast<unsigned>(hr));
        result_ = RunReportFailed;
        return false;
    }

    void WriteHead()
    {
        if (!document_)
            return;
        document_->AppendHeaderElement(xml::Title, xml::ProgramTitle, nullptr, 0);
        // Who ran it where, so that a fleet's summary need not trust the name of the report's folder.
        const FindingFacts& examined = engine_.facts.examined;
        if (examined.computerName)
            document_->AppendHeaderElement(xml::Computer, examined.computerName->c_str(), nullptr, 0);
        if (examined.userName)
            document_->AppendHeaderElement(xml::User, examined.userName->c_str(), nullptr, 0);
        document_->AppendHeaderElement(xml::Program, ProgramBitnessText(), nullptr, 0);
        document_->AppendContainer(xml::Process, document_->HeaderNode(), process_.Put());
        if (process_)
        {
            const std::wstring started = xml::FormatTimestamp(startTime_);
            ElementSpec spec(xml::StartedAt, started.c_str());
            document_->AppendElement(&spec, process_.Get());
        }
    }

    // The section's title row and its "ReportSection" element, the current section from now on.
    void OpenSection(UINT title, const wchar_t* id)
    {
        text_ = LoadResourceString(title);
        engine_.InsertEvent(-1, EventStyle(EventIcon::PageCheck, 0), text_.c_str());
        if (document_)
        {
            const AttributePair attributes[] = {{xml::IdAttribute, id}, {xml::TitleAttribute, text_.c_str()}};
            ElementSpec spec(xml::ReportSection, nullptr, attributes, 2);
            document_->AppendElement(&spec, document_->DataNode(), section_.Put());
        }
    }

    void RunSections()
    {
        for (const Section& section : kSections)
        {
            section_.Reset();
            // A Stop seen after a section's last probe ends the run in that section, not with the next
            // one's title.
            if (engine_.StopRequested())
            {
                result_ = RunAborted;
                return;
            }
            OpenSection(section.title, section.id);
            for (const ProbeStep& step : section.probes)
            {
                if (!step.probe)
                    break;
                if (engine_.StopRequested())
                {
                    result_ = RunAborted;
                    return;
                }
                if (FAILED((engine_.*step.probe)(section_.Get())))
                {
                    result_ = step.failure;
                    return;
                }
                StartChild();
            }
        }
        section_.Reset();
        // A Stop seen only by the last probe's own look still ends the run as aborted.
        if (engine_.StopRequested())
            result_ = RunAborted;
    }

    // The inventory and the findings, each a section of its own after the four.
    void RunParts()
    {
        if (result_ == RunAborted)
            return;
        for (const Part& part : kParts)
        {
            section_.Reset();
            if (engine_.StopRequested())
            {
                // A failed run keeps its failure; a completed one was stopped before its end.
                if (result_ == RunCompleted)
                    result_ = RunAborted;
                return;
            }
            OpenSection(part.title, part.id);
            (engine_.*part.probe)(section_.Get());
        }
        section_.Reset();
    }

    void EndPhase()
    {
        const long long endTime = Now();
        CScopedLock lock(engine_);
        std::wstring ended;
        try
        {
            ended = xml::FormatTimestamp(endTime);
            if (document_)
                SaveDocument(ended);
        }
        catch (...)
        {
            Fail();
        }
        section_.Reset();
        process_.Reset();
        if (document_)
        {
            engine_.CloseReport();
            document_ = nullptr;
        }
        try
        {
            if (result_ == RunCompleted)
                Log(EventIcon::Info, IDS_TEST_COMPLETED, ended.c_str());
            else if (result_ == RunAborted)
                Log(EventIcon::Warning, IDS_TEST_ABORTED, ended.c_str());
            else
                Log(EventIcon::Warning, IDS_TEST_FAILED, ended.c_str());
        }
        catch (...)
        {
            // Not even the outcome could be formatted; the dialog must come back all the same.
        }
        engine_.SetRunning(nullptr);
    }

    void SaveDocument(const std::wstring& ended)
    {
        if (process_)
        {
            ElementSpec outcome(xml::OutcomeElement(result_), ended.c_str());
            document_->AppendElement(&outcome, process_.Get());
        }
        document_->AppendHeaderElement(xml::CreatedAt, ended.c_str(), nullptr, 0);

        const std::wstring path = ReportFilePath(engine_.outputFolder, xml::ReportFileName);
        std::string saved;
        const HRESULT hr = document_->Save(path.c_str(), &saved);
        if (FAILED(hr))
        {
            Log(EventIcon::Warning, IDS_SAVE_FAILED, xml::ReportFileName, static_cast<unsigned>(hr));
            result_ = RunReportFailed;
        }
        else
        {
            // The path as the system resolved it for the save (a relative folder is taken from the
            // working directory); the path as given when it cannot be resolved.
            const std::wstring full = FullPath(path);
            engine_.reportPath = full.empty() ? path : full;
            engine_.reportRow = Log(EventIcon::GemPage, IDS_REPORT_SAVED, xml::ReportFileName);
            SavePage(saved);
        }
    }

    // The readable page beside the report, made of the bytes just saved. A page that cannot be written is
    // a row of its own; the report and the run's result stay as they are.
    void SavePage(const std::string& report)
    {
        const std::wstring path = ReportFilePath(engine_.outputFolder, xml::ReportPageFileName);
        std::string page;
        HRESULT hr = MakeReportPage(::GetModuleHandleW(nullptr), report, page);
        if (SUCCEEDED(hr))
            hr = ReplaceFileWith(path.c_str(), {std::string_view(page)});
        if (FAILED(hr))
        {
            Log(EventIcon::Warning, IDS_PAGE_FAILED, xml::ReportPageFileName, static_cast<unsigned>(hr));
            return;
        }
        const std::wstring full = FullPath(path);
        engine_.pagePath = full.empty() ? path : full;
    }

    CReportData& engine_;
    int result_ = RunCompleted; // a RunResult
    long long startTime_ = 0;
    CReportDocument* document_ = nullptr; // owned by the engine between OpenReport and CloseReport
    CComPtr<IXMLDOMNode> process_;
    CComPtr<IXMLDOMNode> section_;
    std::wstring text_; // the one buffer for every event text and section title
    std::unique_ptr<CComponentPathChild> child_;
};

} // namespace

UINT TestThreadProc(void* engine)
{
    if (!engine)
        return static_cast<UINT>(RunReportFailed);
    CTestRun run(*static_cast<CReportData*>(engine));
    return static_cast<UINT>(run.Run());
}

} // namespace corvane
