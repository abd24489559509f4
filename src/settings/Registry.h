#pragma once

#include "settings/RegistryDocument.h"

#include <QString>

#include <functional>
#include <optional>
#include <variant>

namespace kiv {

// Result codes of the write and delete operations (0 = success), numbered as the platform's error codes.
enum RegistryResult : qint32
{
    RegSuccess = 0,
    RegFileNotFound = 2,
    RegAccessDenied = 5,
    RegWriteFault = 29,
    RegLockViolation = 33,
    RegInvalidParameter = 87,
};

// Predefined root keys; any other root name maps to 0 and every operation on it does nothing.
enum RegistryRoot : quint32
{
    RootUnknown = 0,
    RootClassesRoot = 0x80000000,
    RootCurrentUser = 0x80000001,
    RootLocalMachine = 0x80000002,
    RootUsers = 0x80000003,
    RootPerformanceData = 0x80000004,
    RootCurrentConfig = 0x80000005,
    RootDynData = 0x80000006,
};

struct RegistryPath
{
    quint32 root = RootUnknown;
    QString subkey; // everything after the first backslash
    QString last;   // everything after the last backslash
};

// Splits "ROOT\sub\key" into its root handle, subkey path and last component. The root name compares
// case-insensitively; a path without a backslash is a root name alone.
RegistryPath SplitRegistryPath(const QString& path);

// The result of a read: nothing, a text, or a 32-bit number.
class RegistryValue
{
public:
    RegistryValue() = default;
    explicit RegistryValue(QString text) : m_value(std::move(text)) {}
    explicit RegistryValue(qint32 number) : m_value(number) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isNumber() const { return std::holds_alternative<qint32>(m_value); }
    // Text as stored (a number as its decimal text, nothing as "").
    QString toString() const;
    // The value as a number: nothing is 0; text must be a number as a whole (after cleaning), otherwise
    // std::nullopt, and a caller keeps the field it would have set.
    std::optional<qint32> toNumber() const;

    bool operator==(const RegistryValue&) const = default;

private:
    std::variant<std::monostate, QString, qint32> m_value;
};

// The five registry operations on a store that is already in memory. A batch of them runs inside one
// Registry::transaction, so that a read-change-write sequence is atomic across processes.
class RegistryEditor
{
public:
    explicit RegistryEditor(RegistryDocument& document) : m_document(document) {}

    RegistryValue ReadRegistryValue(const QString& path, const QString& valueName) const;
    // Writes `text` as type 1 or 2 (text) or 4 (its leading decimal number as a 32-bit DWORD), creating
    // every missing key on the path. Returns 0 on success, also when the root is unknown (nothing written).
    qint32 WriteRegistryValue(const QString& path, const QString& valueName, const QString& text, quint32 type);
    qint32 DeleteRegistryValue(const QString& path, const QString& valueName);
    // Deletes the key `subkeyName` under `parentPath` with the values it holds; a key with subkeys stays.
    qint32 DeleteRegistryKey(const QString& parentPath, const QString& subkeyName);

    bool changed() const { return m_changed; }

private:
    RegistryDocument& m_document;
    bool m_changed = false;
};

// The registry of this user: one text file in the export format, shared by every clock process.
// Each operation reads the file; each change runs under a cross-process lock and replaces the file
// atomically, so concurrent processes never lose an update or see a torn file.
class Registry
{
public:
    // `filePath` is the store's file; see defaultFilePath().
    explicit Registry(QString filePath);

    // $XDG_CONFIG_HOME/KivSoft/Kiv Clock/registry.reg
    static QString defaultFilePath();
    const QString& filePath() const { return m_filePath; }

    RegistryValue ReadRegistryValue(const QString& path, const QString& valueName) const;
    qint32 WriteRegistryValue(const QString& path, const QString& valueName, const QString& text, quint32 type);
    qint32 DeleteRegistryValue(const QString& path, const QString& valueName);
    qint32 DeleteRegistryKey(const QString& parentPath, const QString& subkeyName);

    // Runs `edit` on the current contents under the store's lock and replaces the file once when anything
    // changed. False, with errorString(), when the lock could not be taken or the file not be written.
    bool transaction(const std::function<void(RegistryEditor&)>& edit);
    // The current contents, read without the lock (a replaced file is never seen half-written).
    RegistryDocument snapshot() const;

    QString errorString() const { return m_error; }
    // Told, once per copy, where a file with lines that could not be read was kept before it was rewritten.
    void setUnreadableNotice(std::function<void(const QString& message)> notice) { m_notice = std::move(notice); }

    // Files larger than this are not read: no settings file grows near it, and reading one would freeze
    // every clock.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

private:
    qint32 runOne(const std::function<qint32(RegistryEditor&)>& operation);
    bool runTransaction(const std::function<void(RegistryEditor&)>& edit);
    bool setAsideUnreadable();
    // The file's bytes; false, with m_error, when it is too large or cannot be read.
    bool readFile(QByteArray& bytes);
    bool save(const RegistryDocument& document);

    QString m_filePath;
    QString m_error;
    std::function<void(const QString&)> m_notice;
};

} // namespace kiv
