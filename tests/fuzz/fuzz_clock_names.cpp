// The clock list text: the names read from any text, written back as a brace list, read the same again.
#include "settings/ClockList.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList names = kiv::ParseClockNames(text);
    QString rebuilt;
    QStringList listable;
    for (const QString& name : names) {
        if (name.contains(u'{'))
            continue; // a name the list cannot hold; adding such a clock is refused
        listable.append(name);
        rebuilt += u'{' + name + u'}';
    }
    if (kiv::ParseClockNames(rebuilt) != listable)
        std::abort();
    return 0;
}
