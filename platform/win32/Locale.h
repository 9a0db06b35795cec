#pragma once
// Locale identifiers and the names of languages. A locale identifier holds a primary language in its low ten
// bits (LANG_ENGLISH 0x09 ...) and a sublanguage above them; the DVD navigator reports a stream's language as
// one, made from the two-letter code the disc gives.

#include <string>

#include "platform/win32/Types.h"

namespace win32 {

using LCID = DWORD;
using LCTYPE = DWORD;

constexpr LCTYPE LOCALE_SLANGUAGE = 0x00000002;

// The identifier for an ISO 639-1 code ("en" gives 0x0409); 0 for a code this table does not know.
LCID LcidFromLanguageCode(const std::string& Code);
// The two-letter code of an identifier's primary language; "" when unknown.
std::string LanguageCodeOfLcid(LCID Locale);

// LOCALE_SLANGUAGE: the language's name ("English", "German") into Buffer (Size bytes, ended by a zero);
// the number of bytes written with the zero, 0 when the identifier names no known language, the type is not
// LOCALE_SLANGUAGE or the buffer is too small.
int GetLocaleInfoA(LCID Locale, LCTYPE Type, char* Buffer, int Size);

} // namespace win32
