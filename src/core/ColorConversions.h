#pragma once

#include <QtGlobal>

namespace kiv {

// Colours are 0xAARRGGBB; the colour picker works with 0x00BBGGRR values.

// 0xAARRGGBB to 0x00BBGGRR: the alpha dropped, red and blue exchanged.
qint32 ColorTransfer(qint32 inColor);
// 0x00BBGGRR and an alpha to 0xAARRGGBB.
qint32 RGBToARGB(qint32 color, quint8 alpha);
// The alpha byte of 0xAARRGGBB.
quint8 GetAlphaByte(qint32 argbColor);

} // namespace kiv
