#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kiv {

class AlarmTable;
struct ClockListEntry;

// The settings dialog's texts that the code sets.
struct ConfigTexts
{
    Q_DECLARE_TR_FUNCTIONS(kiv::ConfigTexts)

public:
    static QStringList TabCaptions() { return {tr("常规(&G)"), tr("外观(&A)"), tr("添加时钟(&A)"), tr("警报(&A)")}; }
    static QString AlarmExists() { return tr("警报已存在. 请检查和重设."); }
    static inline const QString AlarmTitle = QStringLiteral("Kiv Clock");
    static QString TipNote() { return tr("提示 (最大256个字符) :"); }
    static QString ParamNote() { return tr("参数 (最大256个字符) :"); }
    static QString FileDialogTitle() { return tr("选择一个要执行的文件"); }
    static QString Running() { return tr(" -- 运行中"); }
    static QString Stopped() { return tr(" -- 已停止"); }
    static QString EnabledMark() { return tr(" - 启用"); }
    static QString DisabledMark() { return tr(" - 禁用"); }
};

// The sound box shows the default sound's markers (its designed text and the one the editor writes) in the
// interface's language; the alarm file keeps them in Chinese, so that a file reads the same whichever language
// wrote it.
QString soundBoxText(const QString& stored);
QString storedSoundText(const QString& shown);

// The entries of the alarm page's hour list: "AM12 (00)" ... "PM11 (23)".
QStringList hourListEntries();
// "00" ... "59".
QStringList minuteListEntries();

// A colour box's text: "&H" and the 32-bit value in upper-case hexadecimal without leading zeros.
QString colorBoxText(qint32 argb);

// What a width box (10..50, else "18") or the radius box (48..128, else "48") holds after losing the focus.
QString checkedWidthText(const QString& text);
QString checkedRadiusText(const QString& text);
// Whether a number box accepts a typed character: codes up to 57 ("9") pass, letters do not.
bool numberBoxAccepts(QChar typed);

// The seven colours of a theme (1 default, 2 blue night) in row order, or nothing for other themes.
std::optional<std::array<qint32, 7>> themeColors(int theme);

// The alpha the opacity dialog starts at after the colour picker returned `chosen` (a 0x00BBGGRR value):
// the old alpha of `argb` when the colour shown was kept, 255 for any other colour.
quint8 alphaAfterPicking(qint32 chosen, qint32 initial, qint32 argb);

// The line of a clock in the clocks page: its name and whether it runs.
QString clockLineText(const ClockListEntry& entry);

// The alarm page's list: one line per enabled or disabled alarm, in table order.
struct AlarmLine
{
    qint32 index; // the alarm's place in the table
    QString text; // "07:30 - 启用", "07:30 PM - 禁用"
};
QList<AlarmLine> alarmLines(const AlarmTable& table, bool twentyFourHour);

// What adding an alarm did.
enum class AddAlarmResult
{
    Added,
    Duplicate, // an alarm of that minute exists
    Full,      // the table holds 128 alarms
};

struct NewAlarm
{
    int hour = 0;
    int minute = 0;
    qint32 action = 0;
    QString note;  // the tip text (actions 0..5)
    QString param; // what to open (action 6)
    qint32 playTime = 0;
    QString sound;
};

AddAlarmResult addAlarm(AlarmTable& table, const NewAlarm& alarm);
// Removes the alarms at `selected` (table indices); the others keep their order.
void deleteAlarms(AlarmTable& table, const QList<qint32>& selected);
void setAlarmsEnabled(AlarmTable& table, const QList<qint32>& selected, bool enabled);

} // namespace kiv
