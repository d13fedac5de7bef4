// mzComStringC: the text value of the component system.
//
// Holds UTF-16 (as BSTR and the host do); lengths and positions count UTF-16 units. Case-
// insensitive operations fold ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters
// one unit at a time; other units compare as they are.
#pragma once

#include "platform/com/bstr.h"

#include <iosfwd>
#include <string>
#include <string_view>

class mzComStringC {
public:
    mzComStringC() = default;
    // UTF-8 text; `length` in bytes, -1 for up to the terminating zero. Null gives "".
    // Malformed UTF-8 becomes U+FFFD.
    mzComStringC(const char* utf8, int length = -1);
    explicit mzComStringC(std::string_view utf8);
    mzComStringC(const wchar_t* text);
    mzComStringC(const char16_t* text);
    mzComStringC(const _bstr_t& text);
    static mzComStringC fromUtf16(std::u16string_view text);

    int length() const { return static_cast<int>(text_.size()); }
    bool isEmpty() const { return text_.empty(); }

    mzComStringC& operator+=(const mzComStringC& other);
    mzComStringC& operator+=(const char* utf8);

    // caseFlag 1: case-sensitive, 0: ignoring case. Negative, 0 or positive, by UTF-16 units.
    int compare(const mzComStringC& other, int caseFlag = 1) const;
    // An empty text is never found: contains gives false, the searches -1.
    bool contains(const mzComStringC& text, int caseFlag = 1) const;
    // First occurrence at or after `start` (negative: counted from the end); -1 when absent.
    int indexOf(const mzComStringC& text, int start = 0, int caseFlag = 1) const;
    // Last occurrence beginning at or before `start` (-1: the last unit, -2 the one before,
    // ...; beyond the end: from the end); -1 when absent.
    int lastIndexOf(const mzComStringC& text, int start = -1, int caseFlag = 1) const;

    // n <= 0 gives "", n >= length() the whole string.
    mzComStringC left(int n) const;
    mzComStringC right(int n) const;
    // From `position` (clamped to the string) `n` units, n < 0 for the rest.
    mzComStringC mid(int position, int n = -1) const;

    // Replaces every occurrence of the lowest-numbered placeholder "%1".."%99" (one or two
    // digits) by the replacement, padded with `fill` to |fieldWidth| units (positive: padded on
    // the left, negative: on the right). The replacement is not searched again. Without a
    // placeholder the string comes back unchanged.
    mzComStringC arg(const mzComStringC& replacement, int fieldWidth = 0,
                     char16_t fill = u' ') const;

    // Format '.' (and 'g'): the shortest text with at most `precision` significant digits,
    // as "%.14g" writes it ("25.4", "0.33333333333333", "1e+20"); 'f' fixed with `precision`
    // decimals; 'e' exponent form with `precision` decimals. Other characters act as '.'.
    // -0 is written "0"; not-a-number "nan", infinities "inf" and "-inf".
    static mzComStringC number(double d, char format = '.', int precision = 14);

    // The whole text (blanks around it ignored) must be the number, else 0 and *ok false.
    // toInt: base 0 reads "0x"/"0X" hexadecimal, otherwise decimal (a leading 0 does not mean
    // octal); bases 2..36 as given; out of the int range is not a number.
    // toDouble: decimal with optional point and exponent; "nan", "inf", hexadecimal and
    // values out of the double range are not numbers.
    int toInt(bool* ok = nullptr, int base = 0) const;
    double toDouble(bool* ok = nullptr) const;

    _bstr_t toBstr() const;
    std::string toUtf8() const;
    const std::u16string& utf16() const { return text_; }

private:
    std::u16string text_;
};

mzComStringC operator+(const mzComStringC& a, const mzComStringC& b);
mzComStringC operator+(const mzComStringC& a, const char* b);
mzComStringC operator+(const char* a, const mzComStringC& b);
// compare with case flag 1 giving 0.
bool operator==(const mzComStringC& a, const mzComStringC& b);
// compare with case flag 1 giving less than 0.
bool operator<(const mzComStringC& a, const mzComStringC& b);
std::ostream& operator<<(std::ostream& out, const mzComStringC& text);
