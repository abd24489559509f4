#pragma once

#include "alarms/AlarmRecord.h"

#include <QCoreApplication>

namespace kiv {

class UserMessages;

// The alarm file's messages.
struct AlarmMessages
{
    Q_DECLARE_TR_FUNCTIONS(kiv::AlarmMessages)

public:
    static inline const QString Title = QStringLiteral("Kiv Clock");
    static QString ReadFailed() { return tr("读取配置文件失败! "); }
    static QString KeptAs() { return tr("原文件已另存为 %1."); }
    static QString NotKept() { return tr("无法保存原文件的副本."); }
    static QString SaveFailed() { return tr("保存配置文件失败! "); }
    static QString TableFull() { return tr("添加警报失败. 每个时钟最多只能有 128 个警报."); }
};

// The alarms of one clock, at most 128, in the order the editor lists them.
class AlarmTable
{
public:
    qint32 AlarmCount() const { return static_cast<qint32>(m_records.size()); }
    bool isFull() const { return m_records.size() >= MaxAlarms; }
    const QList<AlarmRecord>& records() const { return m_records; }
    AlarmRecord& operator[](qint32 index) { return m_records[index]; }
    const AlarmRecord& operator[](qint32 index) const { return m_records[index]; }

    // False, leaving the table as it is, when it already holds 128 alarms.
    bool append(const AlarmRecord& record);
    void removeAt(qint32 index) { m_records.removeAt(index); }
    void clear() { m_records.clear(); }

private:
    QList<AlarmRecord> m_records;
};

// The records of an alarm file: its length divided by 566 and rounded to the nearest whole number
// (halves to even), a short last record filled with zeros. At most 128 are kept; `tooMany` says more
// were there.
struct AlarmFileContents
{
    QList<AlarmRecord> records;
    bool tooMany = false;
};
AlarmFileContents parseAlarmFile(QByteArrayView bytes);

// Reads the alarm file into `table`. A missing file is an empty table; a file that cannot be read or holds
// more than 128 records shows the read-failure message and keeps what was read. Every alarm is loaded as
// not shown, so one saved while its tip window was open fires again.
bool LoadAlarms(const QString& path, AlarmTable& table, UserMessages& messages);

// Writes the table to the alarm file, replacing the old file in one step so that a crash leaves either
// the old or the new file; an empty table removes the file. A failure shows the save-failure message.
bool SaveAlarms(const QString& path, const AlarmTable& table, UserMessages& messages);

// Writes the program's built-in resource `name` ("ALARM": the default alarm sound) to `path`.
bool ExtractResourceFile(const QString& path, const QString& name);

} // namespace kiv
