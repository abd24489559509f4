#include "core/ColorConversions.h"

namespace kiv {

qint32 ColorTransfer(qint32 inColor)
{
    const quint32 c = static_cast<quint32>(inColor);
    return static_cast<qint32>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

qint32 RGBToARGB(qint32 color, quint8 alpha)
{
    const quint32 c = static_cast<quint32>(color);
    return static_cast<qint32>((quint32(alpha) << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

quint8 GetAlphaByte(qint32 argbColor)
{
    return static_cast<quint8>((static_cast<quint32>(argbColor) >> 24) & 0xFF);
}

} // namespace kiv
