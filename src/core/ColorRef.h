#pragma once

// Needs QtGui: only code that draws or picks colours includes this.
#include <QColor>

namespace kiv {

// A 0x00BBGGRR value, as the colour picker and the tab strip's colours hold it, as a QColor (alpha ignored).
inline QColor colorFromColorref(qint32 colorref)
{
    const quint32 c = quint32(colorref);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// A QColor as a 0x00BBGGRR value.
inline qint32 colorrefFromColor(const QColor& color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16));
}

} // namespace kiv
