#pragma once

#include <QStringView>

#include <optional>

namespace kiv {

// The leading number of a text, read the way a text box's numeric value is read: leading blanks are
// skipped; "&H" starts hexadecimal digits and "&O" octal digits; otherwise a decimal number (sign,
// digits, point, exponent) is read. Reading stops at the first character that does not fit.
struct NumberPrefix
{
    double value = 0;      // 0 when there is no number
    qsizetype length = 0;  // characters read, leading blanks included
    bool overflow = false; // a hexadecimal or octal number wider than 32 bits
};

NumberPrefix ReadNumberPrefix(QStringView text);

// The numeric value of a text: its leading number rounded to the nearest 32-bit integer, halves to the
// even neighbour; empty or non-numeric text gives 0. A hexadecimal or octal number that fits in 16 bits
// is a signed 16-bit value ("&HFFFF" is -1), a longer one a signed 32-bit value. std::nullopt when the
// number does not fit in 32 bits.
std::optional<qint32> NumberOfText(QStringView text);

// Like NumberOfText, but the whole text (apart from surrounding blanks) must be the number:
// "12" and " &H1F " convert, "12abc" and "" do not.
std::optional<qint32> ConvertTextToNumber(QStringView text);

} // namespace kiv
