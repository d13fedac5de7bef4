// Number formatting and parsing of mzComStringC, independent of the C locale.
#include "libs/KvorCore/loader/com_string.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <system_error>

namespace {

// The ASCII text without surrounding blanks; false when a unit is not ASCII.
bool asciiTrimmed(const std::u16string& text, std::string& out) {
    std::size_t first = 0;
    std::size_t last = text.size();
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    out.clear();
    for (std::size_t i = first; i < last; ++i) {
        if (text[i] >= 0x80)
            return false;
        out += static_cast<char>(text[i]);
    }
    return true;
}

template <class T> T fail(bool* ok) {
    if (ok)
        *ok = false;
    return T{};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// [sign] (digits [. digits] | . digits) [(e|E) [sign] digits]
bool isDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

mzComStringC mzComStringC::number(double d, char format, int precision) {
    if (std::isnan(d))
        return mzComStringC("nan");
    if (std::isinf(d))
        return mzComStringC(d < 0 ? "-inf" : "inf");
    if (d == 0)
        d = 0.0; // drops the sign of -0
    precision = std::clamp(precision, 0, 60);
    std::chars_format style = std::chars_format::general;
    if (format == 'f')
        style = std::chars_format::fixed;
    else if (format == 'e')
        style = std::chars_format::scientific;
    else if (precision == 0)
        precision = 1; // as %g does
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d, style, precision);
    if (result.ec != std::errc())
        return mzComStringC("nan");
    return mzComStringC(buffer, static_cast<int>(result.ptr - buffer));
}

int mzComStringC::toInt(bool* ok, int base) const {
    std::string s;
    if (!asciiTrimmed(text_, s) || base < 0 || base == 1 || base > 36)
        return fail<int>(ok);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if ((base == 0 || base == 16) && i + 1 < s.size() && s[i] == '0' &&
        (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    } else if (base == 0) {
        base = 10;
    }
    // from_chars would accept a second sign here; digits only.
    if (i >= s.size() || s[i] == '+' || s[i] == '-')
        return fail<int>(ok);
    unsigned long long magnitude = 0;
    const char* end = s.data() + s.size();
    const auto result = std::from_chars(s.data() + i, end, magnitude, base);
    if (result.ec != std::errc() || result.ptr != end)
        return fail<int>(ok);
    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(INT_MAX) + 1 : INT_MAX;
    if (magnitude > limit)
        return fail<int>(ok);
    if (ok)
        *ok = true;
    return negative ? static_cast<int>(-static_cast<long long>(magnitude))
                    : static_cast<int>(magnitude);
}

double mzComStringC::toDouble(bool* ok) const {
    std::string s;
    if (!asciiTrimmed(text_, s) || !isDecimalNumber(s))
        return fail<double>(ok);
    const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
    const char* end = s.data() + s.size();
    double value = 0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return fail<double>(ok);
    if (ok)
        *ok = true;
    return value;
}
