#include "settings/Registry.h"

#include "core/AppPaths.h"
#include "core/Logging.h"
#include "core/NumberText.h"
#include "core/PrivateFiles.h"
#include "core/TextUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <cerrno>

namespace kiv {
namespace {

struct RootName
{
    const char16_t* name;
    quint32 handle;
};

constexpr std::array<RootName, 7> kRoots{{
    {u"HKEY_CLASSES_ROOT", RootClassesRoot},
    {u"HKEY_CURRENT_USER", RootCurrentUser},
    {u"HKEY_LOCAL_MACHINE", RootLocalMachine},
    {u"HKEY_USERS", RootUsers},
    {u"HKEY_PERFORMANCE_DATA", RootPerformanceData},
    {u"HKEY_CURRENT_CONFIG", RootCurrentConfig},
    {u"HKEY_DYN_DATA", RootDynData},
}};

constexpr int kLockTimeoutMs = 15000;

QString rootName(quint32 handle)
{
    for (const RootName& root : kRoots) {
        if (root.handle == handle)
            return QString::fromUtf16(root.name);
    }
    return {};
}

// The path under which the document keeps a key: the root's own name, then the subkey path.
QString storedKeyPath(const RegistryPath& path)
{
    QString subkey = path.subkey;
    while (subkey.endsWith(u'\\'))
        subkey.chop(1);
    return subkey.isEmpty() ? rootName(path.root) : rootName(path.root) + u'\\' + subkey;
}

} // namespace

RegistryPath SplitRegistryPath(const QString& path)
{
    RegistryPath result;
    const qsizetype first = path.indexOf(u'\\');
    const QString root = first < 0 ? path : path.left(first);
    result.subkey = first < 0 ? QString() : path.mid(first + 1);
    result.last = path.mid(path.lastIndexOf(u'\\') + 1);
    const QString upper = root.toUpper();
    for (const RootName& candidate : kRoots) {
        if (upper == QStringView(candidate.name))
            result.root = candidate.handle;
    }
    return result;
}

QString RegistryValue::toString() const
{
    if (const auto* text = std::get_if<QString>(&m_value))
        return *text;
    if (const auto* number = std::get_if<qint32>(&m_value))
        return QString::number(*number);
    return {};
}

std::optional<qint32> RegistryValue::toNumber() const
{
    if (const auto* text = std::get_if<QString>(&m_value))
        return ConvertTextToNumber(CleanString(*text));
    if (const auto* number = std::get_if<qint32>(&m_value))
        return *number;
    return 0;
}

RegistryValue RegistryEditor::ReadRegistryValue(const QString& path, const QString& valueName) const
{
    const RegistryPath split = SplitRegistryPath(path);
    if (split.root == RootUnknown)
        return {};
    const RegistryKey* key = m_document.findKey(storedKeyPath(split));
    const RegistryEntry* entry = key ? RegistryDocument::findValue(*key, valueName) : nullptr;
    if (!entry || entry->data.isEmpty())
        return {};
    switch (entry->type) {
    case RegSz:
    case RegExpandSz:
    case RegBinary:
    case RegMultiSz:
        // The text keeps its stored terminator, as the platform returns it; readers clean it.
        return RegistryValue(textOfUtf16(entry->data));
    case RegDword: {
        QByteArray bytes = entry->data.left(4);
        bytes.resize(4, '\0');
        return RegistryValue(static_cast<qint32>(quint8(bytes[0]) | (quint8(bytes[1]) << 8) | (quint8(bytes[2]) << 16) |
                                                 (quint32(quint8(bytes[3])) << 24)));
    }
    default:
        return {};
    }
}

qint32 RegistryEditor::WriteRegistryValue(const QString& path, const QString& valueName, const QString& text,
                                          quint32 type)
{
    const RegistryPath split = SplitRegistryPath(path);
    if (split.root == RootUnknown)
        return RegSuccess;
    std::optional<RegistryEntry> entry;
    if (type == RegSz || type == RegExpandSz) {
        entry = RegistryEntry::text(valueName, text, type);
    } else if (type == RegDword) {
        const std::optional<qint32> number = NumberOfText(text);
        if (!number)
            return RegInvalidParameter;
        entry = RegistryEntry::dword(valueName, *number);
    }
    RegistryKey& key = m_document.createKey(storedKeyPath(split));
    m_changed = true;
    if (entry)
        RegistryDocument::setValue(key, *entry);
    return RegSuccess;
}

qint32 RegistryEditor::DeleteRegistryValue(const QString& path, const QString& valueName)
{
    const RegistryPath split = SplitRegistryPath(path);
    RegistryKey* key = split.root == RootUnknown ? nullptr : m_document.findKey(storedKeyPath(split));
    if (!key)
        return RegSuccess;
    if (!RegistryDocument::removeValue(*key, valueName))
        return RegFileNotFound;
    m_changed = true;
    return RegSuccess;
}

qint32 RegistryEditor::DeleteRegistryKey(const QString& parentPath, const QString& subkeyName)
{
    const RegistryPath split = SplitRegistryPath(parentPath);
    if (split.root == RootUnknown)
        return RegSuccess;
    const QString parent = storedKeyPath(split);
    if (!split.subkey.isEmpty() && !m_document.findKey(parent))
        return RegSuccess;
    // An empty name would address the parent itself: never delete more than was named.
    if (CleanString(subkeyName).isEmpty())
        return RegInvalidParameter;
    const QString target = parent + u'\\' + subkeyName;
    if (!m_document.findKey(target))
        return RegFileNotFound;
    if (m_document.hasSubkeys(target))
        return RegAccessDenied;
    m_document.removeKey(target);
    m_changed = true;
    return RegSuccess;
}

Registry::Registry(QString filePath) : m_filePath(std::move(filePath)) {}

QString Registry::defaultFilePath()
{
    return withTrailingSlash(userConfigHome()) + QStringLiteral("KivSoft/Kiv Clock/registry.reg");
}

RegistryDocument Registry::snapshot() const
{
    QFile file(m_filePath);
    if (file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        if (file.exists())
            qCWarning(lcStore).noquote() << "cannot read" << m_filePath << file.errorString();
        return {};
    }
    return RegistryDocument::parse(file.readAll()).document;
}

bool Registry::readFile(QByteArray& bytes)
{
    QFile file(m_filePath);
    if (!file.exists())
        return true;
    if (file.size() > MaxFileBytes) {
        m_error = QCoreApplication::translate("Registry", "设置文件 %1 太大 (%2 MB), 没有读取, 也没有改动.")
                      .arg(m_filePath)
                      .arg(double(file.size()) / (1024 * 1024), 0, 'f', 1);
        return false;
    }
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QCoreApplication::translate("Registry", "无法读取 %1: %2").arg(m_filePath, reasonOfErrno(errno));
        return false;
    }
    bytes = file.readAll();
    return true;
}

RegistryValue Registry::ReadRegistryValue(const QString& path, const QString& valueName) const
{
    RegistryDocument document = snapshot();
    return RegistryEditor(document).ReadRegistryValue(path, valueName);
}

qint32 Registry::runOne(const std::function<qint32(RegistryEditor&)>& operation)
{
    qint32 result = RegSuccess;
    if (!transaction([&](RegistryEditor& editor) { result = operation(editor); }))
        return RegWriteFault;
    return result;
}

qint32 Registry::WriteRegistryValue(const QString& path, const QString& valueName, const QString& text, quint32 type)
{
    return runOne([&](RegistryEditor& e) { return e.WriteRegistryValue(path, valueName, text, type); });
}

qint32 Registry::DeleteRegistryValue(const QString& path, const QString& valueName)
{
    return runOne([&](RegistryEditor& e) { return e.DeleteRegistryValue(path, valueName); });
}

qint32 Registry::DeleteRegistryKey(const QString& parentPath, const QString& subkeyName)
{
    return runOne([&](RegistryEditor& e) { return e.DeleteRegistryKey(parentPath, subkeyName); });
}

bool Registry::transaction(const std::function<void(RegistryEditor&)>& edit)
{
    if (runTransaction(edit))
        return true;
    qCWarning(lcStore).noquote() << m_error;
    return false;
}

bool Registry::runTransaction(const std::function<void(RegistryEditor&)>& edit)
{
    m_error.clear();
    errno = 0;
    if (!makePrivatePath(QFileInfo(m_filePath).absolutePath())) {
        m_error =
            QCoreApplication::translate("Registry", "无法创建 %1 的文件夹: %2").arg(m_filePath, reasonOfErrno(errno));
        return false;
    }
    const FileLock lock(m_filePath + QStringLiteral(".lock"), kLockTimeoutMs);
    if (!lock.isLocked()) {
        m_error = lock.errorString();
        return false;
    }
    QByteArray bytes;
    if (!readFile(bytes))
        return false;
    RegistryDocument::ParseResult parsed = RegistryDocument::parse(bytes);
    RegistryEditor editor(parsed.document);
    edit(editor);
    if (!editor.changed())
        return true;
    qCDebug(lcStore).noquote() << "writing" << m_filePath;
    // Lines that could not be read would vanish with the rewrite: keep the old file beside the new one.
    if (parsed.unreadableLines > 0 && !setAsideUnreadable())
        return false;
    return save(parsed.document);
}

bool Registry::setAsideUnreadable()
{
    const QString aside = keepUnreadableCopy(m_filePath);
    if (aside.isEmpty()) {
        m_error =
            QCoreApplication::translate("Registry", "设置文件 %1 有无法读取的行, 但无法保存它的副本, 所以没有改动它.")
                .arg(m_filePath);
        return false;
    }
    if (m_notice)
        m_notice(QCoreApplication::translate("Registry", "设置文件 %1 有无法读取的行. 原文件已另存为 %2.")
                     .arg(m_filePath, aside));
    return true;
}

bool Registry::save(const RegistryDocument& document)
{
    return writePrivateFile(m_filePath, document.serialize(), &m_error);
}

} // namespace kiv
