#pragma once
// One owning wrapper for every kind of handle: registry keys, modules, kernel handles, BSTRs.

#include <windows.h>

#include <oleauto.h>

#include <utility>

namespace corvane {

// The value a kind of handle has when it holds nothing: null for most, INVALID_HANDLE_VALUE (-1) for
// what CreateFile returns. A function, since -1 as a pointer is no constant expression.
template <typename T> constexpr T NullHandle()
{
    return T{};
}

template <typename T, auto Close, T (*InvalidValue)() = NullHandle<T>> class CUniqueHandle
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
    bool IsValid() const { return value_ != InvalidValue(); }
    explicit operator bool() const { return IsValid(); }

    // Frees the current value and returns the address for an out-argument.
    T* Put()
    {
        Reset();
        return &value_;
    }

    // Gives up ownership without freeing.
    T Release() { return std::exchange(value_, InvalidValue()); }

    void Reset(T value = InvalidValue())
    {
        const T old = std::exchange(value_, value);
        if (old != InvalidValue())
            Close(old);
    }

private:
    T value_ = InvalidValue();
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
inline HANDLE NoFile()
{
    return INVALID_HANDLE_VALUE;
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
// What CreateFile returns: INVALID_HANDLE_VALUE, not null, when it fails.
using CFileHandle = CUniqueHandle<HANDLE, detail::CloseKernelHandle, detail::NoFile>;
using CBstr = CUniqueHandle<BSTR, detail::FreeBstr>;
using CMenu = CUniqueHandle<HMENU, detail::DestroyMenu>;

} // namespace corvane
