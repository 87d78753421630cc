#pragma once
// One owning wrapper for every kind of handle: registry keys, modules, kernel handles, BSTRs.

#include <windows.h>

#include <oleauto.h>

#include <utility>

namespace corvane {

template <typename T, auto Close, T Invalid = T{}> class CUniqueHandle
{
public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(T value) : value_(value) {}
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : value_(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~CUniqueHandle() { Reset(); }

    T Get() const { return value_; }
    bool IsValid() const { return value_ != Invalid; }
    explicit operator bool() const { return IsValid(); }

    // Frees the current value and returns the address for an out-argument.
    T* Put()
    {
        Reset();
        return &value_;
    }

    // Gives up ownership without freeing.
    T Release() { return std::exchange(value_, Invalid); }

    void Reset(T value = Invalid)
    {
        const T old = std::exchange(value_, value);
        if (old != Invalid)
            Close(old);
    }

private:
    T value_ = Invalid;
};

namespace detail {
inline void CloseRegKey(HKEY key)
{
    ::RegCloseKey(key);
}
inline void ReleaseModule(HMODULE module)
{
    ::FreeLibrary(module);
}
inline void CloseKernelHandle(HANDLE handle)
{
    ::CloseHandle(handle);
}
inline void FreeBstr(BSTR text)
{
    ::SysFreeString(text);
}
inline void FreeLocal(HLOCAL memory)
{
    ::LocalFree(memory);
}
inline void DestroyMenu(HMENU menu)
{
    ::DestroyMenu(menu);
}
} // namespace detail

using CRegKey = CUniqueHandle<HKEY, detail::CloseRegKey>;
using CModule = CUniqueHandle<HMODULE, detail::ReleaseModule>;
using CKernelHandle = CUniqueHandle<HANDLE, detail::CloseKernelHandle>;
using CBstr = CUniqueHandle<BSTR, detail::FreeBstr>;
using CMenu = CUniqueHandle<HMENU, detail::DestroyMenu>;

} // namespace corvane
