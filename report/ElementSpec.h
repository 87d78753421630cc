#pragma once
// Describes one element to append to the report: name, optional text, ordered attributes.

#include <windows.h>

namespace corvane {

// A pair whose value is null is written with its own name as the value.
struct AttributePair
{
    const wchar_t* name;
    const wchar_t* value;
};

struct ElementSpec
{
    // attributeCount value that asks for the pairs to be counted up to the first one without a name.
    static constexpr ULONG CountAttributes = 0xFFFFFFFFUL;

    ElementSpec(const wchar_t* elementName, const wchar_t* elementText = nullptr,
                const AttributePair* elementAttributes = nullptr, ULONG count = CountAttributes)
        : name(elementName), text(elementText), attributeCount(count), attributes(elementAttributes)
    {
        ResolveAttributeCount();
    }

    static ULONG CountPairs(const AttributePair* pairs)
    {
        ULONG count = 0;
        if (pairs)
        {
            while (pairs[count].name)
                ++count;
        }
        return count;
    }

    void ResolveAttributeCount()
    {
        if (attributeCount == CountAttributes)
            attributeCount = CountPairs(attributes);
    }

    LONG nodeType = 1; // NODE_ELEMENT; nothing else is accepted
    const wchar_t* name;
    const wchar_t* text; // null: the element is a container
    ULONG attributeCount;
    const AttributePair* attributes;
};

} // namespace corvane
