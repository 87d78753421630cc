#pragma once
// The finding rules, one plain function each: facts in, a finding out when its condition holds on facts
// that were examined. docs/findings.md gives each rule's condition and public sources.

#include "probes/findings/Finding.h"
#include "probes/findings/FindingFacts.h"

#include <optional>

namespace corvane {

// Errors ---------------------------------------------------------------------------------------------

// R1: Outlook's MAPI is of the other bitness than this program (its load failed with 0x800700C1, or
// Outlook's bitness from the inventory differs).
std::optional<Finding> CheckBitnessMismatch(const FindingFacts& facts);
// R2: no default mail client for the machine, nor for the user where that was examined.
std::optional<Finding> CheckNoDefaultMailClient(const FindingFacts& facts);
// R3: the machine's default names a client key that is missing or names no MAPI library.
std::optional<Finding> CheckDefaultClientUnregistered(const FindingFacts& facts);
// R4: Outlook's DLLPathEx names a file that does not exist.
std::optional<Finding> CheckOutlookMapiLibraryMissing(const FindingFacts& facts);
// R5: Outlook's DLLPathEx exists but does not load for want of a library it imports (0x8007007E).
std::optional<Finding> CheckOutlookMapiDependencyMissing(const FindingFacts& facts);
// R6: Outlook 2013's MSIComponentID is not the one Microsoft documents for it.
std::optional<Finding> CheckOutlookComponentIdWrong(const FindingFacts& facts);
// R7: every FGetComponentPath call of the System folder's MAPI libraries that loaded answered FALSE.
std::optional<Finding> CheckOutlookComponentUnresolved(const FindingFacts& facts);
// R8: MAPI32.DLL lacks the FGetComponentPath export that MAPISTUB.DLL has.
std::optional<Finding> CheckSystemMapi32Replaced(const FindingFacts& facts);

// Warnings -------------------------------------------------------------------------------------------

// R9: MAPISTUB.DLL is missing from the System folder.
std::optional<Finding> CheckMapiStubMissing(const FindingFacts& facts);
// R10: the machine's default client registers DLLPath only.
std::optional<Finding> CheckDefaultClientSimpleMapiOnly(const FindingFacts& facts);
// R11: the user's own default mail client differs from the machine's, or is registered nowhere.
std::optional<Finding> CheckUserDefaultOverridesMachine(const FindingFacts& facts);
// R13: the user works in the new Outlook while MAPI goes to the classic Outlook's registration.
std::optional<Finding> CheckNewOutlookInUse(const FindingFacts& facts);
// R14: more than one version of classic Outlook is installed.
std::optional<Finding> CheckSeveralOutlookVersions(const FindingFacts& facts);
// R15: the run's date is after the end of support of the Outlook version found.
std::optional<Finding> CheckOutlookOutOfSupport(const FindingFacts& facts);
// R16: the Windows Messaging Subsystem key of a registry view lacks MAPI=1, or MAPIX=1 although the
// default client provides Extended MAPI.
std::optional<Finding> CheckMessagingSubsystemFlags(const FindingFacts& facts);

// Information ----------------------------------------------------------------------------------------

// R12: e-mail links open in another program than the MAPI default mail client.
std::optional<Finding> CheckMailtoDiffersFromMapiDefault(const FindingFacts& facts);
// R17: Outlook's registration names no language values, or none of those it names exists for the user.
std::optional<Finding> CheckOfficeLanguageValuesMissing(const FindingFacts& facts);
// R19: Office is a Click-to-Run installation.
std::optional<Finding> CheckClickToRun(const FindingFacts& facts);

} // namespace corvane
