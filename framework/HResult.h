#pragma once
// The one rule that turns Windows error codes into HRESULTs, and early-return macros built on it.

#include <windows.h>

#include <type_traits>

namespace corvane {

// A Windows error e above 0 becomes 0x80070000 with e's low 16 bits; anything else is taken as it is.
constexpr HRESULT HResultFromWin32(LONG error)
{
    return error > 0 ? static_cast<HRESULT>((static_cast<ULONG>(error) & 0xFFFF) | 0x80070000UL)
                     : static_cast<HRESULT>(error);
}

// Result of a call that has failed and left its reason in the last error. A failure that left no
// last error is still a failure: E_FAIL, never a success.
inline HRESULT FailureFromLastError()
{
    const HRESULT hr = HResultFromWin32(static_cast<LONG>(::GetLastError()));
    return SUCCEEDED(hr) ? E_FAIL : hr;
}

// Result of a registry function's return value.
constexpr HRESULT HResultFromRegistry(LONG status)
{
    return HResultFromWin32(status);
}

namespace detail {

// The macros take only the kind of result they are named for: an HRESULT is a long, a BOOL an int, and
// either would otherwise convert silently to the other, turning TRUE into a failure or S_FALSE into one.
template <typename T> constexpr HRESULT VerifyHResult(T result)
{
    static_assert(std::is_same_v<T, HRESULT>,
                  "an HRESULT is expected here; use RETURN_LAST_ERROR_IF_FALSE for a BOOL");
    return result;
}

template <typename T> constexpr bool VerifyPointer(T result)
{
    static_assert(std::is_pointer_v<T>, "a pointer or a handle is expected here");
    return result != nullptr;
}

template <typename T> constexpr bool VerifyBool(T result)
{
    static_assert(std::is_same_v<T, BOOL> || std::is_same_v<T, bool>, "a BOOL or a bool is expected here");
    return result != 0;
}

} // namespace detail

} // namespace corvane

#define RETURN_IF_FAILED(expr)                                                                               \
    do                                                                                                       \
    {                                                                                                        \
        const HRESULT hrReturnIfFailed_ = ::corvane::detail::VerifyHResult(expr);                            \
        if (FAILED(hrReturnIfFailed_))                                                                       \
            return hrReturnIfFailed_;                                                                        \
    } while (0)

// For a call that reports its reason through the last error when its result, checked by verify, is false;
// the last error is cleared first so that no stale code from an earlier call is ever returned.
#define RETURN_LAST_ERROR_UNLESS_(verify, call)                                                              \
    do                                                                                                       \
    {                                                                                                        \
        ::SetLastError(ERROR_SUCCESS);                                                                       \
        if (!::corvane::detail::verify(call))                                                                \
            return ::corvane::FailureFromLastError();                                                        \
    } while (0)

// A call that returns a BOOL.
#define RETURN_LAST_ERROR_IF_FALSE(call) RETURN_LAST_ERROR_UNLESS_(VerifyBool, call)
// A call that returns a pointer or a handle, null when it fails.
#define RETURN_LAST_ERROR_IF_NULL(call) RETURN_LAST_ERROR_UNLESS_(VerifyPointer, call)

// For a registry call that returns a LONG status.
#define RETURN_IF_REG_FAILED(call)                                                                           \
    do                                                                                                       \
    {                                                                                                        \
        const LONG statusReturnIfRegFailed_ = (call);                                                        \
        if (statusReturnIfRegFailed_ != ERROR_SUCCESS)                                                       \
            return ::corvane::HResultFromRegistry(statusReturnIfRegFailed_);                                 \
    } while (0)
