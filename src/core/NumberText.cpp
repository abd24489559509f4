#include "core/NumberText.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kiv {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

qsizetype skipBlanks(QStringView text, qsizetype pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

int digitValue(QChar c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < base ? value : -1;
}

// "&H" or "&O" digits, starting after the prefix. The width decides the sign: up to 16 bits the digits
// are a 16-bit two's-complement pattern, up to 32 bits a 32-bit one.
NumberPrefix readRadixDigits(QStringView text, qsizetype pos, int base)
{
    NumberPrefix result;
    quint64 value = 0;
    while (pos < text.size()) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0)
            break;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            result.overflow = true;
        ++pos;
    }
    result.length = pos;
    if (result.overflow)
        return result;
    if (value <= 0xFFFF)
        result.value = static_cast<qint16>(static_cast<quint16>(value));
    else
        result.value = static_cast<qint32>(static_cast<quint32>(value));
    return result;
}

qsizetype scanDigits(QStringView text, qsizetype pos)
{
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9')
        ++pos;
    return pos;
}

NumberPrefix readDecimal(QStringView text, qsizetype start)
{
    NumberPrefix result;
    qsizetype pos = start;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    const qsizetype intEnd = scanDigits(text, pos);
    qsizetype end = intEnd;
    qsizetype digits = intEnd - pos;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fracEnd = scanDigits(text, end + 1);
        digits += fracEnd - end - 1;
        end = fracEnd;
    }
    if (digits == 0) {
        result.length = start;
        return result;
    }
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E' || text[end] == u'd' || text[end] == u'D')) {
        qsizetype expPos = end + 1;
        if (expPos < text.size() && (text[expPos] == u'+' || text[expPos] == u'-'))
            ++expPos;
        const qsizetype expEnd = scanDigits(text, expPos);
        if (expEnd > expPos)
            end = expEnd;
    }
    std::string ascii = text.mid(start, end - start).toLatin1().toStdString();
    for (char& c : ascii) {
        if (c == 'd' || c == 'D')
            c = 'e';
    }
    result.value = std::strtod(ascii.c_str(), nullptr);
    result.length = end;
    return result;
}

std::optional<qint32> roundToInt32(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // The default floating-point rounding mode rounds halves to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

} // namespace

NumberPrefix ReadNumberPrefix(QStringView text)
{
    const qsizetype pos = skipBlanks(text, 0);
    if (pos + 1 < text.size() && text[pos] == u'&') {
        const QChar radix = text[pos + 1].toUpper();
        if (radix == u'H')
            return readRadixDigits(text, pos + 2, 16);
        if (radix == u'O')
            return readRadixDigits(text, pos + 2, 8);
    }
    return readDecimal(text, pos);
}

std::optional<qint32> NumberOfText(QStringView text)
{
    const NumberPrefix prefix = ReadNumberPrefix(text);
    if (prefix.overflow)
        return std::nullopt;
    return roundToInt32(prefix.value);
}

std::optional<qint32> ConvertTextToNumber(QStringView text)
{
    const qsizetype begin = skipBlanks(text, 0);
    if (begin == text.size())
        return std::nullopt;
    const NumberPrefix prefix = ReadNumberPrefix(text);
    const bool hasDigits = prefix.length > begin && !(text[begin] == u'&' && prefix.length == begin + 2);
    if (!hasDigits || skipBlanks(text, prefix.length) != text.size() || prefix.overflow)
        return std::nullopt;
    return roundToInt32(prefix.value);
}

} // namespace kiv
