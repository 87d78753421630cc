#pragma once
// Facts of whole machines for the finding rule tests, and a table runner for one rule's cases.

#include "probes/findings/Finding.h"
#include "probes/findings/FindingFacts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

// 64-bit Windows 10 with 64-bit Microsoft 365 Outlook (Click-to-Run, Current Channel) as the default
// mail client, as Corvane64.exe examines it: every fact examined, nothing wrong.
FindingFacts Microsoft365Machine();

// Windows XP with Outlook 2003 (Windows Installer) as the default mail client, as Corvane.exe examines it
// in 2013, while Outlook 2003 was supported: every fact that XP has examined, nothing wrong.
FindingFacts Outlook2003Machine();

// Microsoft365Machine with Outlook 2013 (Windows Installer, 64-bit) in place of Microsoft 365, registered
// with the MSIComponentID that Microsoft documents for it.
FindingFacts Outlook2013Machine();

// The client key of the given name in the facts' HKLM or HKCU Clients\Mail; the test fails without it.
MailClientFacts& MachineClient(FindingFacts& facts, const std::wstring& name);

// A client that registers a Simple MAPI library only.
MailClientFacts SimpleMapiClient(const std::wstring& name, const std::wstring& dllPath);

using Rule = std::optional<Finding> (*)(const FindingFacts&);

// What a rule is to say: its message and the message's arguments.
struct ExpectedFinding
{
    UINT messageId;
    std::vector<std::wstring> arguments;
};

// One row of a rule's table: a change to the machine, and the finding, or none.
struct RuleCase
{
    const char* what;
    void (*change)(FindingFacts& facts);
    std::optional<ExpectedFinding> expected;
};

// Runs each case on a fresh copy of machine: the rule must fire with the expected message, arguments,
// id and severity, or stay silent.
void ExpectRuleCases(Rule rule, const wchar_t* id, FindingSeverity severity, const FindingFacts& machine,
                     const std::vector<RuleCase>& cases);

// The finding's id, message id and arguments in one line, for failure messages.
std::string Describe(const std::optional<Finding>& finding);
std::string Describe(const std::vector<Finding>& findings);

// The ids of the findings, in order.
std::vector<std::wstring> Ids(const std::vector<Finding>& findings);

} // namespace corvane::test
