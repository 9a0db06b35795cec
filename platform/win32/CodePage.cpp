#include "platform/win32/CodePage.h"

#include <cerrno>
#include <optional>

#include <iconv.h>

namespace win32 {

namespace {

// Bytes in Charset as UTF-8, or nullopt when they are not valid in it throughout.
std::optional<std::string> Convert(std::string_view Bytes, const char* Charset) {
    iconv_t cd = iconv_open("UTF-8", Charset);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(Bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(Bytes.data());
    std::size_t inLeft = Bytes.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    // Any invalid or incomplete sequence fails the whole text; E2BIG cannot happen with four bytes per byte.
    if (result == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - toLeft);
    return out;
}

std::string Latin1ToUtf8(std::string_view Bytes) {
    std::string out;
    out.reserve(Bytes.size() * 2);
    for (const char c : Bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view Bytes) {
    std::size_t i = 0;
    while (i < Bytes.size()) {
        const auto b = static_cast<unsigned char>(Bytes[i]);
        std::size_t extra = 0;
        char32_t code = 0, least = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, code = b & 0x1F, least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, code = b & 0x0F, least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, code = b & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= Bytes.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(Bytes[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past the last code point are not UTF-8.
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += extra + 1;
    }
    return true;
}

std::string AnsiToUtf8(std::string_view Bytes) {
    if (IsValidUtf8(Bytes))
        return std::string(Bytes);
    if (auto gbk = Convert(Bytes, "GBK"))
        return *gbk;
    return Latin1ToUtf8(Bytes);
}

} // namespace win32
