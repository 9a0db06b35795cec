#include "platform/com/Unknown.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>

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

namespace {

// Bytes that are not part of well-formed UTF-8 travel through UTF-16 as the lone low surrogates U+DC80 ..
// U+DCFF, which well-formed text never holds: a path in a legacy encoding (GBK) comes back byte for byte.
constexpr char16_t EscapedByteBase = 0xDC00;

// The code point of the well-formed UTF-8 sequence at Text[At], and its length; 0 when there is none.
std::size_t DecodeOne(std::string_view Text, std::size_t At, char32_t& CodePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(Text[i]); };
    const unsigned char lead = byte(At);
    if (lead < 0x80) {
        CodePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1FU, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0FU, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07U, least = 0x10000;
    } else {
        return 0;
    }
    if (At + length > Text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(At + i) & 0xC0U) != 0x80)
            return 0;
        value = (value << 6) | (byte(At + i) & 0x3FU);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not well-formed.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    CodePoint = value;
    return length;
}

void AppendUtf8(std::string& Out, char32_t CodePoint) {
    if (CodePoint < 0x80) {
        Out += static_cast<char>(CodePoint);
    } else if (CodePoint < 0x800) {
        Out += static_cast<char>(0xC0 | (CodePoint >> 6));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else if (CodePoint < 0x10000) {
        Out += static_cast<char>(0xE0 | (CodePoint >> 12));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (CodePoint >> 18));
        Out += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (CodePoint & 0x3F));
    }
}

} // namespace

std::u16string WideString(std::string_view Text) {
    std::u16string wide;
    wide.reserve(Text.size());
    for (std::size_t at = 0; at < Text.size();) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeOne(Text, at, codePoint);
        if (length == 0) {
            wide += static_cast<char16_t>(EscapedByteBase + static_cast<unsigned char>(Text[at]));
            ++at;
            continue;
        }
        if (codePoint >= 0x10000) {
            wide += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<char16_t>(codePoint);
        }
        at += length;
    }
    return wide;
}

std::string NarrowString(std::u16string_view Text) {
    std::string narrow;
    narrow.reserve(Text.size());
    for (std::size_t at = 0; at < Text.size(); ++at) {
        const char16_t unit = Text[at];
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < Text.size() && Text[at + 1] >= 0xDC00 &&
            Text[at + 1] <= 0xDFFF) {
            AppendUtf8(narrow,
                       0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (Text[at + 1] - 0xDC00));
            ++at;
        } else if (unit >= EscapedByteBase + 0x80 && unit <= EscapedByteBase + 0xFF) {
            narrow += static_cast<char>(unit - EscapedByteBase);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(narrow, 0xFFFD); // a lone surrogate that stands for no byte
        } else {
            AppendUtf8(narrow, unit);
        }
    }
    return narrow;
}

} // namespace com
