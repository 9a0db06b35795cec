#include "platform/win32/Locale.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include <QLocale>

namespace win32 {

namespace {

constexpr DWORD SublangDefault = 0x01;

// Primary language identifiers of the languages DVDs name.
constexpr std::array<std::pair<const char*, DWORD>, 42> PrimaryLanguages = {{
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D}, {"hu", 0x0E},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"no", 0x14}, {"pl", 0x15},
    {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D},
    {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24},
    {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A}, {"hi", 0x39}, {"ms", 0x3E},
}};

} // namespace

LCID LcidFromLanguageCode(const std::string& Code) {
    for (const auto& [code, primary] : PrimaryLanguages)
        if (Code == code)
            return (SublangDefault << 10) | primary;
    return 0;
}

std::string LanguageCodeOfLcid(LCID Locale) {
    const DWORD primary = Locale & 0x3FF;
    for (const auto& [code, id] : PrimaryLanguages)
        if (id == primary && primary != 0)
            return code;
    return {};
}

int GetLocaleInfoA(LCID Locale, LCTYPE Type, char* Buffer, int Size) {
    const std::string code = LanguageCodeOfLcid(Locale);
    if (Type != LOCALE_SLANGUAGE || code.empty() || Buffer == nullptr)
        return 0;
    const QLocale locale(QString::fromStdString(code));
    if (locale.language() == QLocale::C)
        return 0;
    const std::string name = QLocale::languageToString(locale.language()).toStdString();
    if (static_cast<int>(name.size()) + 1 > Size)
        return 0;
    std::memcpy(Buffer, name.c_str(), name.size() + 1);
    return static_cast<int>(name.size()) + 1;
}

} // namespace win32
