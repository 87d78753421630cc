#pragma once
// Sample machines of a chosen size for whole runs that complete: registered mail clients, the Outlook
// client with its settings, two per-user language keys, the messaging subsystem and Outlook's
// application path with a real Outlook module.

namespace corvane::scale {

struct MachineSize
{
    int clients = 10;          // client subkeys of the mail clients key, each with five values
    int languageValues = 1000; // values of the first language key, of mixed types and sizes
};

// Clears the probed keys and writes the machine; the number of values written.
int WriteSampleMachine(const MachineSize& size);

} // namespace corvane::scale
