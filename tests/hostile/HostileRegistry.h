#pragma once
// A seeded, reproducible generator of hostile registry content for every key that the probes read:
// names of 0 to 300 units full of what XML must escape or cannot carry, any value type, data of any size
// and shape (odd sizes, strings without terminators, multi-strings without their closing empty string,
// numbers too short), client keys nested at random.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::scale {

// splitmix64: the same numbers for a seed on every machine and compiler.
class CRandom
{
public:
    explicit CRandom(uint64_t seed) : state_(seed) {}

    uint64_t Next();
    uint32_t Below(uint32_t bound); // 0 to bound - 1
    int Between(int low, int high); // low to high, both included
    bool Percent(int percent);

private:
    uint64_t state_;
};

// What one case wrote, for the statistics that show the generator reaches every shape.
struct HostileCase
{
    uint32_t seed = 0;
    bool verbose = false;
    int values = 0;
    int keys = 0;
    bool outlookClient = false;
    bool languageKeys = false;
    bool messagingKey = false;
    bool appPathsKey = false;
};

// Clears the probed keys and fills them anew from the seed.
HostileCase WriteHostileRegistry(uint32_t seed);

// Text of the given length drawn from the hostile alphabet; no backslash in key names.
std::wstring HostileText(CRandom& random, int units, bool forKeyName);

} // namespace corvane::scale
