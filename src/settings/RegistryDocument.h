#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace kiv {

// Value types of the store, numbered as in the registry.
enum RegistryType : quint32
{
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
};

// The text of UTF-16LE bytes (an odd last byte is ignored); terminating NULs are kept.
QString textOfUtf16(const QByteArray& bytes);

// One value: its name ("" is the key's default value), type and raw data as the registry keeps it
// (text as UTF-16LE with its terminating NUL, a DWORD as 4 little-endian bytes).
struct RegistryEntry
{
    QString name;
    quint32 type = RegNone;
    QByteArray data;

    static RegistryEntry text(const QString& name, const QString& value, quint32 type = RegSz);
    static RegistryEntry dword(const QString& name, qint32 value);
};

struct RegistryKey
{
    QString path; // full path, root name first: "HKEY_CURRENT_USER\Software\Kiv Clock\Default"
    QList<RegistryEntry> values;
    // Where each value is in `values`, by its case-folded name, once the key holds many values (a few are
    // found faster by looking at each); kept by RegistryDocument's value functions.
    QHash<QString, qsizetype> valueIndex = {};
};

// The whole store in memory, read from and written to the text format of registry export files
// ("Windows Registry Editor Version 5.00", [key] sections, "name"=dword:0000002f, "name"="text").
// Key paths and value names compare case-insensitively (Unicode case folding), keeping the case they were
// created with.
class RegistryDocument
{
public:
    struct ParseResult;

    // Reads what can be read; every line that cannot be understood is counted and skipped.
    static ParseResult parse(const QByteArray& bytes);
    QByteArray serialize() const;

    const QList<RegistryKey>& keys() const { return m_keys; }
    const RegistryKey* findKey(QStringView path) const;
    RegistryKey* findKey(QStringView path);
    // Opens the key, creating it and every missing key above it (a root name alone is never stored).
    RegistryKey& createKey(const QString& path);
    bool hasSubkeys(QStringView path) const;
    bool removeKey(QStringView path);

    static const RegistryEntry* findValue(const RegistryKey& key, QStringView name);
    static void setValue(RegistryKey& key, RegistryEntry entry);
    static bool removeValue(RegistryKey& key, QStringView name);

private:
    void reindexKeys();

    QList<RegistryKey> m_keys;
    // Where each key is in m_keys, by its case-folded path: every lookup is one hash away, so reading a
    // file of many keys takes time in proportion to its size.
    QHash<QString, qsizetype> m_keyIndex;
};

struct RegistryDocument::ParseResult
{
    RegistryDocument document;
    int unreadableLines = 0;
};

} // namespace kiv
