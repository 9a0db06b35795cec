#pragma once
// The object model the media layer's interfaces are built on: result codes, interface identifiers,
// reference-counted objects and a counted smart pointer.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
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
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

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

namespace detail {
constexpr std::uint32_t HexValue(std::string_view Text) {
    std::uint32_t value = 0;
    for (char c : Text) {
        value <<= 4;
        if (c >= '0' && c <= '9')
            value |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            throw "a GUID holds hexadecimal digits only"; // a compile-time error in a constant expression
    }
    return value;
}
} // namespace detail

// The GUID written in its registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
constexpr GUID MakeGuid(std::string_view Text) {
    if (Text.size() != 38 || Text[0] != '{' || Text[9] != '-' || Text[14] != '-' || Text[19] != '-' ||
        Text[24] != '-' || Text[37] != '}')
        throw "a GUID is written {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    GUID g;
    g.Data1 = detail::HexValue(Text.substr(1, 8));
    g.Data2 = static_cast<std::uint16_t>(detail::HexValue(Text.substr(10, 4)));
    g.Data3 = static_cast<std::uint16_t>(detail::HexValue(Text.substr(15, 4)));
    g.Data4[0] = static_cast<std::uint8_t>(detail::HexValue(Text.substr(20, 2)));
    g.Data4[1] = static_cast<std::uint8_t>(detail::HexValue(Text.substr(22, 2)));
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = static_cast<std::uint8_t>(detail::HexValue(Text.substr(25 + 2 * i, 2)));
    return g;
}

// The registry form of Id, upper case.
std::string GuidToString(const GUID& Id);

inline constexpr IID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");

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

// Asks Object for the interface T (whose identifier is T::Iid); nullptr when it has none.
template <class T> class ComPtr;
template <class T> ComPtr<T> QueryInterfaceOf(IUnknown* Object);

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

template <class T> ComPtr<T> QueryInterfaceOf(IUnknown* Object) {
    void* found = nullptr;
    if (Object == nullptr || FAILED(Object->QueryInterface(T::Iid, &found)))
        return nullptr;
    return ComPtr<T>::Adopt(static_cast<T*>(found));
}

// An object implementing the interfaces Interfaces (each with its identifier as Interface::Iid) with one
// count of references; it deletes itself when the last reference goes. Starts with a count of 1.
template <class... Interfaces> class Object : public Interfaces... {
public:
    HRESULT QueryInterface(const IID& Iid, void** Found) override {
        if (Found == nullptr)
            return E_POINTER;
        *Found = nullptr;
        if (Iid == IID_IUnknown)
            *Found = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (Offer<Interfaces>(Iid, Found) || ...);
        if (*Found == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++count_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --count_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    template <class I> bool Offer(const IID& Iid, void** Found) {
        if (!(Iid == I::Iid))
            return false;
        *Found = static_cast<I*>(this);
        return true;
    }
    std::atomic<std::uint32_t> count_{1};
};

// Makes a new object of type T (an Object<...>) and gives its interface Iid: the factory of a class.
template <class T, class... Args> HRESULT CreateAndQuery(const IID& Iid, void** Found, Args&&... args) {
    ComPtr<T> object = ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
    return object->QueryInterface(Iid, Found);
}

// --- Creating objects by class identifier -------------------------------------------------------------

// Execution contexts, accepted as given: every class lives in the process.
using DWORD = std::uint32_t;
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;

// Makes a new object of the class and gives its interface Iid in *Object (one reference, the caller's).
using ClassFactory = std::function<HRESULT(const IID& Iid, void** Object)>;

// Makes Clsid available to CoCreateInstance; a registration already there is replaced.
void RegisterClassFactory(const CLSID& Clsid, ClassFactory Factory);
// Takes Clsid away and gives its factory back (empty when it was not registered).
ClassFactory RevokeClassFactory(const CLSID& Clsid);
bool IsClassRegistered(const CLSID& Clsid);

// REGDB_E_CLASSNOTREG for a class nobody registered, CLASS_E_NOAGGREGATION for an outer object,
// otherwise what the class's factory gives (E_NOINTERFACE when it lacks Iid).
HRESULT CoCreateInstance(const CLSID& Clsid, IUnknown* Outer, DWORD Context, const IID& Iid, void** Object);

// Takes a class away for as long as it lives (a test's way to make a class unavailable).
class ScopedClassRemoval {
public:
    explicit ScopedClassRemoval(const CLSID& Clsid) : clsid_(Clsid), factory_(RevokeClassFactory(Clsid)) {}
    ~ScopedClassRemoval() {
        if (factory_)
            RegisterClassFactory(clsid_, std::move(factory_));
    }
    ScopedClassRemoval(const ScopedClassRemoval&) = delete;
    ScopedClassRemoval& operator=(const ScopedClassRemoval&) = delete;

private:
    CLSID clsid_;
    ClassFactory factory_;
};

// --- Wide strings ---------------------------------------------------------------------------------------

// The UTF-16 form of an 8-bit (UTF-8) text, as interfaces take file names; and back. Paths are bytes: those
// that are not well-formed UTF-8 (a name in a legacy encoding) come back unchanged.
std::u16string WideString(std::string_view Text);
std::string NarrowString(std::u16string_view Text);

} // namespace com
