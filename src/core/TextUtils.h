#pragma once

#include <QString>

namespace kiv {

// Cuts the text at its first NUL character and trims leading and trailing spaces. Text that comes from
// the store, the command line or a fixed-size record passes through here before it is used.
QString CleanString(QStringView text);

// The text without its trailing spaces (a fixed-length field's padding).
QString withoutTrailingSpaces(QStringView text);

// True when the cleaned path names an existing file or folder.
bool FileExists(const QString& path);

} // namespace kiv
