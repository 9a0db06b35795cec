#include "platform/forms/Conversions.h"

#include <charconv>
#include <cmath>

namespace forms {

namespace {

[[noreturn]] void RaiseNotAnInteger(std::string_view Text) {
    throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}

} // namespace

std::int32_t StrToInt(std::string_view Text) {
    std::string_view rest = Text;
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (!rest.empty() && rest.front() == '$') {
        base = 16;
        rest.remove_prefix(1);
    } else if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        rest.remove_prefix(2);
    }
    if (rest.empty())
        RaiseNotAnInteger(Text);
    std::int64_t magnitude = 0;
    for (char c : rest) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            RaiseNotAnInteger(Text);
        magnitude = magnitude * base + digit;
        if (magnitude > std::int64_t{INT32_MAX} + 1)
            RaiseNotAnInteger(Text);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        RaiseNotAnInteger(Text);
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToIntDef(std::string_view Text, std::int32_t Default) {
    try {
        return StrToInt(Text);
    } catch (const EConvertError&) {
        return Default;
    }
}

bool TryStrToFloat(std::string_view Text, double& Value) {
    while (!Text.empty() && Text.front() == ' ')
        Text.remove_prefix(1);
    while (!Text.empty() && Text.back() == ' ')
        Text.remove_suffix(1);
    std::string number;
    std::size_t i = 0;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) {
        if (Text[i] == '-')
            number += '-';
        ++i;
    }
    const auto digitsAt = [&](std::size_t& At) {
        const std::size_t from = At;
        while (At < Text.size() && Text[At] >= '0' && Text[At] <= '9')
            number += Text[At++];
        return At - from;
    };
    std::size_t digits = digitsAt(i);
    if (i < Text.size() && Text[i] == '.') {
        number += '.';
        ++i;
        digits += digitsAt(i);
    }
    if (digits == 0)
        return false;
    if (i < Text.size() && (Text[i] == 'e' || Text[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < Text.size() && (Text[i] == '+' || Text[i] == '-'))
            number += Text[i++];
        if (digitsAt(i) == 0)
            return false;
    }
    if (i != Text.size())
        return false;
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return false;
    Value = value;
    return true;
}

std::string FloatToStr(double Value) {
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value > 0 ? "INF" : "-INF";
    char text[40];
    const auto [end, error] = std::to_chars(text, text + sizeof text, Value, std::chars_format::general, 15);
    return error == std::errc() ? std::string(text, end) : std::string();
}

} // namespace forms
