#pragma once
// Owning COM interface pointer: holds one reference, released in the destructor.

#include <objbase.h>

#include <utility>

namespace corvane {

template <typename T> class CComPtr
{
public:
    CComPtr() = default;
    CComPtr(const CComPtr& other) : pointer_(other.pointer_)
    {
        if (pointer_)
            pointer_->AddRef();
    }
    CComPtr& operator=(const CComPtr& other)
    {
        CComPtr copy(other);
        std::swap(pointer_, copy.pointer_);
        return *this;
    }
    CComPtr(CComPtr&& other) noexcept : pointer_(other.Release()) {}
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other)
            Attach(other.Release());
        return *this;
    }
    ~CComPtr() { Reset(); }

    // Takes over a reference that the caller owns.
    void Attach(T* pointer)
    {
        T* old = std::exchange(pointer_, pointer);
        if (old)
            old->Release();
    }

    // Gives up the reference without releasing it.
    T* Release() { return std::exchange(pointer_, nullptr); }

    void Reset() { Attach(nullptr); }

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // Releases the current reference and returns the address for an out-argument.
    T** Put()
    {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Hands the caller one reference of its own (for out-arguments of this program's operations).
    void CopyTo(T** out) const
    {
        *out = pointer_;
        if (pointer_)
            pointer_->AddRef();
    }

private:
    T* pointer_ = nullptr;
};

} // namespace corvane
