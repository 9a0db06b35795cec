#include "platform/com/Unknown.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>

#include <QString>

namespace com {

namespace {

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const {
        auto key = [](const GUID& g) {
            return std::tie(g.Data1, g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                            g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
        };
        return key(a) < key(b);
    }
};

struct ClassRegistry {
    std::mutex mutex;
    std::map<CLSID, ClassFactory, GuidLess> classes;
};

// Built on first use, so that classes can register while the process starts.
ClassRegistry& Registry() {
    static ClassRegistry registry;
    return registry;
}

} // namespace

std::string GuidToString(const GUID& Id) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(Id.Data1), Id.Data2, Id.Data3, Id.Data4[0], Id.Data4[1], Id.Data4[2],
                  Id.Data4[3], Id.Data4[4], Id.Data4[5], Id.Data4[6], Id.Data4[7]);
    return text;
}

void RegisterClassFactory(const CLSID& Clsid, ClassFactory Factory) {
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.classes[Clsid] = std::move(Factory);
}

ClassFactory RevokeClassFactory(const CLSID& Clsid) {
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.classes.find(Clsid);
    if (it == registry.classes.end())
        return {};
    ClassFactory factory = std::move(it->second);
    registry.classes.erase(it);
    return factory;
}

bool IsClassRegistered(const CLSID& Clsid) {
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    return registry.classes.count(Clsid) != 0;
}

HRESULT CoCreateInstance(const CLSID& Clsid, IUnknown* Outer, DWORD /*Context*/, const IID& Iid, void** Object) {
    if (Object == nullptr)
        return E_POINTER;
    *Object = nullptr;
    if (Outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    ClassFactory factory;
    {
        ClassRegistry& registry = Registry();
        std::lock_guard lock(registry.mutex);
        auto it = registry.classes.find(Clsid);
        if (it == registry.classes.end())
            return REGDB_E_CLASSNOTREG;
        factory = it->second;
    }
    // Called outside the lock: a factory may create other classes.
    return factory(Iid, Object);
}

std::u16string WideString(std::string_view Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())).toStdU16String();
}

std::string NarrowString(std::u16string_view Text) {
    return QString::fromUtf16(Text.data(), static_cast<qsizetype>(Text.size())).toStdString();
}

} // namespace com
