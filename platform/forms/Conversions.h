#pragma once
// The class library's number conversions: locale-independent, with the class library's conversion error.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/forms/StringList.h"

namespace forms {

// Raised for a text that is not a number ("'abc' is not a valid integer value").
class EConvertError : public EClassLibraryError {
public:
    using EClassLibraryError::EClassLibraryError;
};

// A 32-bit integer: leading blanks, an optional sign, then decimal digits or "$" / "0x" and hexadecimal
// digits, and nothing after them. Raises EConvertError for anything else, the empty text included, and for a
// number outside the 32-bit range.
std::int32_t StrToInt(std::string_view Text);
// As StrToInt, with Default for a text that is not a number.
std::int32_t StrToIntDef(std::string_view Text, std::int32_t Default);

// A floating-point number: blanks around it, an optional sign, digits with at most one "." (on either side
// of it, at least one digit), an optional exponent ("e" or "E", a sign, digits). The "." is the decimal point
// whatever the process's locale. False, with Value unchanged, for anything else or a value that is not
// finite.
bool TryStrToFloat(std::string_view Text, double& Value);

// The general floating-point text: up to 15 significant digits, no trailing zeros, "." as the decimal point,
// an exponent only for very large or very small values (25 gives "25", 29.97 gives "29.97").
std::string FloatToStr(double Value);

} // namespace forms
