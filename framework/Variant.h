#pragma once
// A VARIANT that is cleared (VariantClear) when it goes out of scope.

#include <oleauto.h>

namespace corvane {

class CVariant
{
public:
    CVariant() { ::VariantInit(&value_); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { ::VariantClear(&value_); }

    // Takes ownership of the BSTR; null means the copy of the string could not be made.
    HRESULT SetBstr(BSTR text)
    {
        ::VariantClear(&value_);
        if (!text)
            return E_OUTOFMEMORY;
        V_VT(&value_) = VT_BSTR;
        V_BSTR(&value_) = text;
        return S_OK;
    }

    VARIANT& Get() { return value_; }

private:
    VARIANT value_;
};

} // namespace corvane
