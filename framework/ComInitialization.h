#pragma once
// COM initialised on the calling thread (single-threaded apartment); uninitialised by the destructor.

#include <objbase.h>

namespace corvane {

class CComInitialization
{
public:
    CComInitialization() = default;
    CComInitialization(const CComInitialization&) = delete;
    CComInitialization& operator=(const CComInitialization&) = delete;
    ~CComInitialization() { Reset(); }

    HRESULT Initialize()
    {
        Reset();
        const HRESULT hr = ::CoInitialize(nullptr);
        initialized_ = SUCCEEDED(hr);
        return hr;
    }

    // Uninitialises COM if Initialize succeeded; must run on the thread that initialised it.
    void Reset()
    {
        if (initialized_)
            ::CoUninitialize();
        initialized_ = false;
    }

    // Forgets the initialisation without undoing it (an owner destroyed on another thread).
    void Abandon() { initialized_ = false; }

    bool IsInitialized() const { return initialized_; }

private:
    bool initialized_ = false;
};

} // namespace corvane
