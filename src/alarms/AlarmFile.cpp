#include "alarms/AlarmFile.h"

#include "BuiltInResources.h"
#include "core/Logging.h"
#include "core/PrivateFiles.h"
#include "core/TextUtils.h"
#include "platform/UserMessages.h"

#include <QFile>

#include <cmath>

namespace kiv {

bool AlarmTable::append(const AlarmRecord& record)
{
    if (isFull())
        return false;
    m_records.append(record);
    return true;
}

AlarmFileContents parseAlarmFile(QByteArrayView bytes)
{
    AlarmFileContents contents;
    const auto count = static_cast<qint64>(std::nearbyint(double(bytes.size()) / AlarmRecordSize));
    for (qint64 i = 0; i < count; ++i) {
        if (contents.records.size() == MaxAlarms) {
            contents.tooMany = true;
            break;
        }
        const qsizetype offset = i * AlarmRecordSize;
        contents.records.append(
            decodeAlarmRecord(bytes.sliced(offset, std::min<qsizetype>(AlarmRecordSize, bytes.size() - offset))));
    }
    return contents;
}

bool LoadAlarms(const QString& path, AlarmTable& table, UserMessages& messages)
{
    table.clear();
    if (!FileExists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcAlarms).noquote() << "cannot read" << path << file.errorString();
        messages.show(AlarmMessages::ReadFailed(), AlarmMessages::Title, MessageIcon::Exclamation);
        return false;
    }
    // One record more than the table holds is enough to tell that the file has too many.
    const QByteArray bytes = file.read(qint64(MaxAlarms + 1) * AlarmRecordSize);
    const AlarmFileContents contents = parseAlarmFile(bytes);
    for (AlarmRecord record : contents.records) {
        record.Shown = 0;
        table.append(record);
    }
    // A file cut short, grown past the table's size or not read to its end would lose what could not be read
    // at the next save, which writes the table back: the original is kept beside it first.
    const bool readWhole = !contents.tooMany && file.error() == QFileDevice::NoError &&
                           bytes.size() % AlarmRecordSize == 0 && file.atEnd();
    if (!readWhole) {
        const QString aside = keepUnreadableCopy(path);
        qCWarning(lcAlarms).noquote() << path << "could not be read whole; kept as" << aside;
        const QString kept = aside.isEmpty() ? AlarmMessages::NotKept() : AlarmMessages::KeptAs().arg(aside);
        messages.show(AlarmMessages::ReadFailed() + kept, AlarmMessages::Title, MessageIcon::Exclamation);
        return false;
    }
    qCDebug(lcAlarms).noquote() << "read" << table.AlarmCount() << "alarms from" << path;
    return true;
}

bool SaveAlarms(const QString& path, const AlarmTable& table, UserMessages& messages)
{
    bool saved = true;
    if (table.AlarmCount() == 0) {
        saved = !QFile::exists(path) || QFile::remove(path);
    } else {
        QByteArray bytes;
        for (const AlarmRecord& record : table.records())
            bytes += encodeAlarmRecord(record);
        saved = writePrivateFile(path, bytes);
    }
    if (!saved) {
        qCWarning(lcAlarms).noquote() << "cannot write" << path;
        messages.show(AlarmMessages::SaveFailed(), AlarmMessages::Title, MessageIcon::Exclamation);
    }
    return saved;
}

bool ExtractResourceFile(const QString& path, const QString& name)
{
    const QByteArray bytes = builtInResource(name);
    if (bytes.isEmpty())
        return false;
    return writePrivateFile(path, bytes);
}

} // namespace kiv
