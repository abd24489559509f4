// The alarm file parser: any bytes give at most 128 records, and each record written back is 566 bytes
// whose numbers and reserved bytes read back unchanged.
#include "alarms/AlarmFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    const kiv::AlarmFileContents contents = kiv::parseAlarmFile(input);
    if (contents.records.size() > kiv::MaxAlarms)
        std::abort();
    for (const kiv::AlarmRecord& record : contents.records) {
        const QByteArray bytes = kiv::encodeAlarmRecord(record);
        if (bytes.size() != kiv::AlarmRecordSize)
            std::abort();
        const kiv::AlarmRecord back = kiv::decodeAlarmRecord(bytes);
        if (back.Enabled != record.Enabled || back.Action != record.Action || back.PlayTime != record.PlayTime ||
            back.Reserved != record.Reserved || std::memcmp(&back.Time, &record.Time, sizeof back.Time) != 0)
            std::abort();
        kiv::alarmTimeText(record.Time);
    }
    return 0;
}
