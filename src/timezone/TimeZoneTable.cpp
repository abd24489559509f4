#include "timezone/TimeZoneTable.h"

namespace kiv {
namespace {

// Each name carries its zone's offset in its "(UTC±hh:mm)" prefix, from which the table takes it.
constexpr std::array<const char16_t*, TimeZoneCount> kDisplayNames{{
    u"(UTC-12:00) International Date Line West",
    u"(UTC-11:00) Coordinated Universal Time-11",
    u"(UTC-11:00) Samoa",
    u"(UTC-10:00) Hawaii",
    u"(UTC-09:00) Alaska",
    u"(UTC-08:00) Baja California",
    u"(UTC-08:00) Pacific Time(US & Canada)",
    u"(UTC-07:00) Arizona",
    u"(UTC-07:00) Chihuahua, La Paz, Mazatlan",
    u"(UTC-07:00) 山地时间 (US & Canada)",
    u"(UTC-06:00) Central America",
    u"(UTC-06:00) Central Time (US & Canada)",
    u"(UTC-06:00) Guadalajara, Mexico City, Mouterrey",
    u"(UTC-06:00) Saskatchewan",
    u"(UTC-05:00) Bogota, Lima, Quito",
    u"(UTC-05:00) Eastern Time (US & Canada)",
    u"(UTC-05:00) Indiana (East)",
    u"(UTC-04:30) Caracas",
    u"(UTC-04:00) Asuncion",
    u"(UTC-04:00) Atlantic Time (Canada)",
    u"(UTC-04:00) Cuiaba",
    u"(UTC-04:00) Georgetown, La Paz, Manaus, San Juan",
    u"(UTC-04:00) Santiago",
    u"(UTC-03:30) Newfoundland",
    u"(UTC-03:00) Brasilia",
    u"(UTC-03:00) Buenos Aires",
    u"(UTC-03:00) Cayenne, Fortaleza",
    u"(UTC-03:00) Greenland",
    u"(UTC-03:00) Montevideo",
    u"(UTC-02:00) Coordinated Universal Time-02",
    u"(UTC-02:00) Mid-Atlantic",
    u"(UTC-01:00) Azores",
    u"(UTC-01:00) Cape Verde Is.",
    u"(UTC) Casablanca",
    u"(UTC) Coordinated Universal Time",
    u"(UTC) Dublin, Edinburgh, Lisbon, London",
    u"(UTC) Monrovia, Reykjavik",
    u"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    u"(UTC+01:00) Brussels, Copenhagen, Madrid, Paris",
    u"(UTC+01:00) Sarajevo, Skopje, Warsaw, Zagreb",
    u"(UTC+01:00) Western Central Africa",
    u"(UTC+01:00) Windhoek",
    u"(UTC+02:00) Amman",
    u"(UTC+02:00) Athens, Bucharest",
    u"(UTC+02:00) Beirut",
    u"(UTC+02:00) Cairo",
    u"(UTC+02:00) Damascus",
    u"(UTC+02:00) Harare, Pretoria",
    u"(UTC+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius",
    u"(UTC+02:00) Istanbul",
    u"(UTC+02:00) Jerusalem",
    u"(UTC+02:00) Minsk",
    u"(UTC+03:00) Baghdad",
    u"(UTC+03:00) Kaliningrad",
    u"(UTC+03:00) Kuwait, Riyadh",
    u"(UTC+03:00) Nairobi",
    u"(UTC+03:30) Tehran",
    u"(UTC+04:00) Abu Dhabi, Muscat",
    u"(UTC+04:00) Baku",
    u"(UTC+04:00) Moscow, St. Petersburg, Volgograd",
    u"(UTC+04:00) Port Louis",
    u"(UTC+04:00) Yerevan",
    u"(UTC+04:30) Kabul",
    u"(UTC+05:00) Islamabad, Karachi",
    u"(UTC+05:00) Tashkent",
    u"(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi",
    u"(UTC+05:30) Sri Jayawardenepura",
    u"(UTC+05:45) Kathmandu",
    u"(UTC+06:00) Astana",
    u"(UTC+06:00) Dhaka",
    u"(UTC+06:00) Ekaterinburg",
    u"(UTC+06:30) Yangon (Rangoon)",
    u"(UTC+07:00) Bangkok, Honoi, Jakarta",
    u"(UTC+07:00) Novosibirsk",
    u"(UTC+08:00) 北京, 重庆, 香港, 乌鲁木齐",
    u"(UTC+08:00) Krasnoyarsk",
    u"(UTC+08:00) Kuala Lumpur, Singapore",
    u"(UTC+08:00) Perth",
    u"(UTC+08:00) Taipei",
    u"(UTC+08:00) Ulaanbaatar",
    u"(UTC+09:00) Irkutsk",
    u"(UTC+09:00) Osaka, Sapporo, Tokyo",
    u"(UTC+09:00) Seoul",
    u"(UTC+09:30) Adelaide",
    u"(UTC+09:30) Darwin",
    u"(UTC+10:00) Brisbane",
    u"(UTC+10:00) Canberra, Melbourne, Sydney",
    u"(UTC+10:00) Guam, Port Moresby",
    u"(UTC+10:00) Hobart",
    u"(UTC+10:00) Yakutsk",
    u"(UTC+11:00) Solomon Is., New Caledonia",
    u"(UTC+11:00) Vladivostok",
    u"(UTC+12:00) Auckland, Wellington",
    u"(UTC+12:00) Coordinated Universal Time+12",
    u"(UTC+12:00) Fiji",
    u"(UTC+12:00) Magadan",
    u"(UTC+13:00) Nuku'alofa",
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
        m_entries[i].DisplayName = QString::fromUtf16(kDisplayNames[i]);
        m_entries[i].Offset = offsetOfDisplayName(m_entries[i].DisplayName);
    }
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
