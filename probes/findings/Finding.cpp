#include "probes/findings/Finding.h"

#include "probes/findings/FindingRules.h"

#include <algorithm>

namespace corvane {

namespace {

using Rule = std::optional<Finding> (*)(const FindingFacts&);

// In the rules' own order, which a severity keeps: by their number.
constexpr Rule kRules[] = {
    CheckBitnessMismatch,
    CheckNoDefaultMailClient,
    CheckDefaultClientUnregistered,
    CheckOutlookMapiLibraryMissing,
    CheckOutlookMapiDependencyMissing,
    CheckOutlookComponentIdWrong,
    CheckOutlookComponentUnresolved,
    CheckSystemMapi32Replaced,
    CheckMapiStubMissing,
    CheckDefaultClientSimpleMapiOnly,
    CheckUserDefaultOverridesMachine,
    CheckMailtoDiffersFromMapiDefault,
    CheckNewOutlookInUse,
    CheckSeveralOutlookVersions,
    CheckOutlookOutOfSupport,
    CheckMessagingSubsystemFlags,
    CheckOfficeLanguageValuesMissing,
    CheckClickToRun,
};

} // namespace

std::vector<Finding> EvaluateFindings(const FindingFacts& facts)
{
    std::vector<Finding> findings;
    for (const Rule rule : kRules)
    {
        if (std::optional<Finding> finding = rule(facts))
            findings.push_back(std::move(*finding));
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
    return findings;
}

} // namespace corvane
