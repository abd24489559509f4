#pragma once

#include <QIcon>

namespace kiv {

// The program's icon (the face at ten past ten) for its windows, drawn at the size asked for whenever asked:
// the clock's own window shows no icon, so a clock that opens no other window never draws or keeps one.
QIcon clockIcon();

} // namespace kiv
