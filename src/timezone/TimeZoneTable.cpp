#include "timezone/TimeZoneTable.h"

#include <QCoreApplication>

namespace kiv {
namespace {

// Each name carries its zone's offset in its "(UTC±hh:mm)" prefix, from which the table takes it. The names
// not in English are translated where a zone list shows them.
constexpr std::array<const char*, TimeZoneCount> kDisplayNames{{
    "(UTC-12:00) International Date Line West",
    "(UTC-11:00) Coordinated Universal Time-11",
    "(UTC-11:00) Samoa",
    "(UTC-10:00) Hawaii",
    "(UTC-09:00) Alaska",
    "(UTC-08:00) Baja California",
    "(UTC-08:00) Pacific Time(US & Canada)",
    "(UTC-07:00) Arizona",
    "(UTC-07:00) Chihuahua, La Paz, Mazatlan",
    QT_TRANSLATE_NOOP("TimeZoneTable", "(UTC-07:00) 山地时间 (US & Canada)"),
    "(UTC-06:00) Central America",
    "(UTC-06:00) Central Time (US & Canada)",
    "(UTC-06:00) Guadalajara, Mexico City, Mouterrey",
    "(UTC-06:00) Saskatchewan",
    "(UTC-05:00) Bogota, Lima, Quito",
    "(UTC-05:00) Eastern Time (US & Canada)",
    "(UTC-05:00) Indiana (East)",
    "(UTC-04:30) Caracas",
    "(UTC-04:00) Asuncion",
    "(UTC-04:00) Atlantic Time (Canada)",
    "(UTC-04:00) Cuiaba",
    "(UTC-04:00) Georgetown, La Paz, Manaus, San Juan",
    "(UTC-04:00) Santiago",
    "(UTC-03:30) Newfoundland",
    "(UTC-03:00) Brasilia",
    "(UTC-03:00) Buenos Aires",
    "(UTC-03:00) Cayenne, Fortaleza",
    "(UTC-03:00) Greenland",
    "(UTC-03:00) Montevideo",
    "(UTC-02:00) Coordinated Universal Time-02",
    "(UTC-02:00) Mid-Atlantic",
    "(UTC-01:00) Azores",
    "(UTC-01:00) Cape Verde Is.",
    "(UTC) Casablanca",
    "(UTC) Coordinated Universal Time",
    "(UTC) Dublin, Edinburgh, Lisbon, London",
    "(UTC) Monrovia, Reykjavik",
    "(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    "(UTC+01:00) Brussels, Copenhagen, Madrid, Paris",
    "(UTC+01:00) Sarajevo, Skopje, Warsaw, Zagreb",
    "(UTC+01:00) Western Central Africa",
    "(UTC+01:00) Windhoek",
    "(UTC+02:00) Amman",
    "(UTC+02:00) Athens, Bucharest",
    "(UTC+02:00) Beirut",
    "(UTC+02:00) Cairo",
    "(UTC+02:00) Damascus",
    "(UTC+02:00) Harare, Pretoria",
    "(UTC+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius",
    "(UTC+02:00) Istanbul",
    "(UTC+02:00) Jerusalem",
    "(UTC+02:00) Minsk",
    "(UTC+03:00) Baghdad",
    "(UTC+03:00) Kaliningrad",
    "(UTC+03:00) Kuwait, Riyadh",
    "(UTC+03:00) Nairobi",
    "(UTC+03:30) Tehran",
    "(UTC+04:00) Abu Dhabi, Muscat",
    "(UTC+04:00) Baku",
    "(UTC+04:00) Moscow, St. Petersburg, Volgograd",
    "(UTC+04:00) Port Louis",
    "(UTC+04:00) Yerevan",
    "(UTC+04:30) Kabul",
    "(UTC+05:00) Islamabad, Karachi",
    "(UTC+05:00) Tashkent",
    "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi",
    "(UTC+05:30) Sri Jayawardenepura",
    "(UTC+05:45) Kathmandu",
    "(UTC+06:00) Astana",
    "(UTC+06:00) Dhaka",
    "(UTC+06:00) Ekaterinburg",
    "(UTC+06:30) Yangon (Rangoon)",
    "(UTC+07:00) Bangkok, Honoi, Jakarta",
    "(UTC+07:00) Novosibirsk",
    QT_TRANSLATE_NOOP("TimeZoneTable", "(UTC+08:00) 北京, 重庆, 香港, 乌鲁木齐"),
    "(UTC+08:00) Krasnoyarsk",
    "(UTC+08:00) Kuala Lumpur, Singapore",
    "(UTC+08:00) Perth",
    "(UTC+08:00) Taipei",
    "(UTC+08:00) Ulaanbaatar",
    "(UTC+09:00) Irkutsk",
    "(UTC+09:00) Osaka, Sapporo, Tokyo",
    "(UTC+09:00) Seoul",
    "(UTC+09:30) Adelaide",
    "(UTC+09:30) Darwin",
    "(UTC+10:00) Brisbane",
    "(UTC+10:00) Canberra, Melbourne, Sydney",
    "(UTC+10:00) Guam, Port Moresby",
    "(UTC+10:00) Hobart",
    "(UTC+10:00) Yakutsk",
    "(UTC+11:00) Solomon Is., New Caledonia",
    "(UTC+11:00) Vladivostok",
    "(UTC+12:00) Auckland, Wellington",
    "(UTC+12:00) Coordinated Universal Time+12",
    "(UTC+12:00) Fiji",
    "(UTC+12:00) Magadan",
    "(UTC+13:00) Nuku'alofa",
}};

} // namespace

qint32 offsetOfDisplayName(QStringView displayName)
{
    // "(UTC+hh:mm)": sign at 4, hours at 5..6, minutes at 8..9.
    if (!displayName.startsWith(u"(UTC") || displayName.size() < 11 || displayName[10] != u')')
        return 0;
    const qint32 minutes = displayName.mid(5, 2).toInt() * 60 + displayName.mid(8, 2).toInt();
    return displayName[4] == u'-' ? -minutes : minutes;
}

TimeZoneTable::TimeZoneTable()
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_entries[i].DisplayName = QString::fromUtf8(kDisplayNames[i]);
        m_entries[i].Offset = offsetOfDisplayName(m_entries[i].DisplayName);
    }
}

QString TimeZoneTable::shownName(qint32 index) const
{
    return QCoreApplication::translate("TimeZoneTable", kDisplayNames[static_cast<size_t>(index)]);
}

qint32 TimeZoneTable::freshClockZoneIndex(qint32 systemZoneBias) const
{
    for (qint32 i = 0; i < TimeZoneCount; ++i) {
        if (m_entries[static_cast<size_t>(i)].Offset == -systemZoneBias)
            return i;
    }
    return -1;
}

} // namespace kiv
