#pragma once
// The object model the media layer's interfaces are built on: result codes, interface identifiers,
// reference-counted objects and a counted smart pointer.

#include <cstdint>
#include <utility>

namespace com {

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};
    friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

// A reference-counted object. Objects start with a count of 1 held by their creator.
class IUnknown {
public:
    // Gives the object's interface Iid in *Object (with a reference added) or E_NOINTERFACE and nullptr.
    virtual HRESULT QueryInterface(const IID& Iid, void** Object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Holds one counted reference; copying adds a reference, destruction releases it.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { AddRefIfAny(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U> ComPtr(const ComPtr<U>& other) : ptr_(other.Get()) { AddRefIfAny(); }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    // Takes over a reference the caller already holds (for example a newly created object).
    static ComPtr Adopt(T* ptr) {
        ComPtr p;
        p.ptr_ = ptr;
        return p;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* ptr) {
        ComPtr p;
        p.ptr_ = ptr;
        p.AddRefIfAny();
        return p;
    }

    void Reset() {
        if (ptr_)
            std::exchange(ptr_, nullptr)->Release();
    }
    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    void Swap(ComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }
    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.ptr_ == b.ptr_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.ptr_ == nullptr; }

private:
    void AddRefIfAny() {
        if (ptr_)
            ptr_->AddRef();
    }
    T* ptr_ = nullptr;
};

} // namespace com
