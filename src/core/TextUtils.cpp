#include "core/TextUtils.h"

#include <QFileInfo>

namespace kiv {

QString CleanString(QStringView text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text = text.left(nul);
    qsizetype begin = 0;
    qsizetype end = text.size();
    // Only the space character is trimmed: tabs and other blanks are part of a name.
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

QString withoutTrailingSpaces(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end).toString();
}

bool FileExists(const QString& path)
{
    const QString cleaned = CleanString(path);
    return !cleaned.isEmpty() && QFileInfo::exists(cleaned);
}

} // namespace kiv
