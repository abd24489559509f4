#include "settings/RegistryDocument.h"

#include <QStringDecoder>
#include <QtEndian>

namespace kiv {
namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kOldHeader = QStringLiteral("REGEDIT4");
constexpr int kHexBytesPerLine = 24;

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString folded(QStringView name)
{
    return name.toString().toCaseFolded();
}

// A key's values get an index once it holds this many.
constexpr qsizetype kIndexedValues = 16;

void indexValues(RegistryKey& key)
{
    key.valueIndex.clear();
    if (key.values.size() < kIndexedValues)
        return;
    for (qsizetype i = 0; i < key.values.size(); ++i)
        key.valueIndex.insert(folded(key.values[i].name), i);
}

QByteArray utf16Bytes(const QString& text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    bytes.append('\0');
    bytes.append('\0');
    return bytes;
}

// A string value is written as "quoted text" when its data is plain text with one terminating NUL.
bool isQuotableText(const RegistryEntry& entry)
{
    if (entry.type != RegSz || entry.data.size() < 2 || entry.data.size() % 2 != 0)
        return false;
    const QString text = textOfUtf16(entry.data);
    if (!text.endsWith(QChar(u'\0')))
        return false;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].unicode() < 0x20)
            return false;
    }
    return true;
}

QString quote(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            out.append(u'\\');
        out.append(c);
    }
    out.append(u'"');
    return out;
}

QString hexData(const QString& prefix, const QByteArray& data)
{
    QString out = prefix;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out.append(u',');
            if (i % kHexBytesPerLine == 0) {
                out.append(QStringLiteral("\\\n  "));
            }
        }
        out.append(QString::number(quint8(data[i]), 16).rightJustified(2, u'0'));
    }
    return out;
}

QString serializeValue(const RegistryEntry& entry)
{
    const QString name = entry.name.isEmpty() ? QStringLiteral("@") : quote(entry.name);
    if (isQuotableText(entry)) {
        QString text = textOfUtf16(entry.data);
        text.chop(1);
        return name + u'=' + quote(text);
    }
    if (entry.type == RegDword && entry.data.size() == 4) {
        const quint32 value = qFromLittleEndian<quint32>(entry.data.constData());
        return name + QStringLiteral("=dword:") + QString::number(value, 16).rightJustified(8, u'0');
    }
    const QString prefix =
        entry.type == RegBinary ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(entry.type, 0, 16);
    return name + u'=' + hexData(prefix, entry.data);
}

// Reads a quoted text starting at `pos` (on the opening quote); on success `pos` is after the closing quote.
bool readQuoted(QStringView line, qsizetype& pos, QString& out)
{
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    out.clear();
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"') {
            pos = i + 1;
            return true;
        }
        if (c == u'\\' && i + 1 < line.size())
            ++i;
        out.append(line[i]);
    }
    return false;
}

bool readHexBytes(QStringView text, QByteArray& out)
{
    out.clear();
    for (QStringView part : text.split(u',')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        bool ok = false;
        const uint byte = part.toUInt(&ok, 16);
        if (!ok || byte > 0xFF || part.size() > 2)
            return false;
        out.append(static_cast<char>(byte));
    }
    return true;
}

bool parseData(QStringView data, RegistryEntry& entry)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        QString text;
        if (!readQuoted(data, pos, text) || !data.mid(pos).trimmed().isEmpty())
            return false;
        entry = RegistryEntry::text(entry.name, text);
        return true;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        const QStringView digits = data.mid(6).trimmed();
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return false;
        entry = RegistryEntry::dword(entry.name, static_cast<qint32>(value));
        return true;
    }
    qsizetype colon = data.indexOf(u':');
    if (!data.startsWith(u"hex", Qt::CaseInsensitive) || colon < 0)
        return false;
    const QStringView kind = data.mid(3, colon - 3);
    entry.type = RegBinary;
    if (!kind.isEmpty()) {
        bool ok = false;
        if (!kind.startsWith(u'(') || !kind.endsWith(u')'))
            return false;
        entry.type = kind.mid(1, kind.size() - 2).toUInt(&ok, 16);
        if (!ok)
            return false;
    }
    return readHexBytes(data.mid(colon + 1), entry.data);
}

QString decodeFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return textOfUtf16(bytes.mid(2));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
}

// Reads the name of a value line ("name" or @ for the default value) and returns where its data starts,
// after the "="; -1 when the line is no value line.
qsizetype readValueName(QStringView line, QString& name)
{
    qsizetype pos = 0;
    name.clear();
    if (line.startsWith(u'@'))
        pos = 1;
    else if (!readQuoted(line, pos, name))
        return -1;
    while (pos < line.size() && line[pos] == u' ')
        ++pos;
    return pos < line.size() && line[pos] == u'=' ? pos + 1 : -1;
}

bool parseValueLine(QStringView line, RegistryKey& key)
{
    RegistryEntry entry;
    const qsizetype start = readValueName(line, entry.name);
    if (start < 0 || !parseData(line.mid(start).trimmed(), entry))
        return false;
    RegistryDocument::setValue(key, std::move(entry));
    return true;
}

// Hexadecimal data goes on over the next line when its line ends in a backslash.
bool continuesOnNextLine(QStringView line)
{
    if (!line.endsWith(u'\\'))
        return false;
    QString name;
    const qsizetype start = readValueName(line, name);
    return start >= 0 && line.mid(start).trimmed().startsWith(u"hex", Qt::CaseInsensitive);
}

// Splits the text into logical lines, joining the continuation lines of hexadecimal data.
QStringList logicalLines(const QString& text)
{
    QStringList lines;
    QString pending;
    bool continuing = false;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (continuing)
            pending.append(QStringView(line).trimmed());
        else
            pending = line;
        const QString trimmed = pending.trimmed();
        continuing = continuesOnNextLine(trimmed);
        if (continuing) {
            pending = trimmed.chopped(1);
            continue;
        }
        lines.append(pending);
    }
    if (continuing)
        lines.append(pending);
    return lines;
}

} // namespace

QString textOfUtf16(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8))));
    return text;
}

RegistryEntry RegistryEntry::text(const QString& name, const QString& value, quint32 type)
{
    return {name, type, utf16Bytes(value)};
}

RegistryEntry RegistryEntry::dword(const QString& name, qint32 value)
{
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(value), data.data());
    return {name, RegDword, data};
}

RegistryDocument::ParseResult RegistryDocument::parse(const QByteArray& bytes)
{
    ParseResult result;
    RegistryKey* current = nullptr;
    bool sawHeader = false;
    for (const QString& raw : logicalLines(decodeFile(bytes))) {
        const QStringView line = QStringView(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!sawHeader) {
            sawHeader = true;
            if (line == kHeader || line == kOldHeader)
                continue;
            ++result.unreadableLines;
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            const QStringView path = close > 1 ? line.mid(1, close - 1) : QStringView();
            if (path.isEmpty() || path.startsWith(u'-')) {
                current = nullptr;
                ++result.unreadableLines;
                continue;
            }
            current = &result.document.createKey(path.toString());
            continue;
        }
        if (!current || !parseValueLine(line, *current))
            ++result.unreadableLines;
    }
    return result;
}

QByteArray RegistryDocument::serialize() const
{
    QString out = kHeader + u'\n';
    for (const RegistryKey& key : m_keys) {
        out += u'\n' + QStringLiteral("[") + key.path + QStringLiteral("]\n");
        for (const RegistryEntry& entry : key.values)
            out += serializeValue(entry) + u'\n';
    }
    return out.toUtf8();
}

const RegistryKey* RegistryDocument::findKey(QStringView path) const
{
    const auto found = m_keyIndex.constFind(folded(path));
    return found == m_keyIndex.cend() ? nullptr : &m_keys[*found];
}

RegistryKey* RegistryDocument::findKey(QStringView path)
{
    return const_cast<RegistryKey*>(std::as_const(*this).findKey(path));
}

RegistryKey& RegistryDocument::createKey(const QString& path)
{
    // Folding keeps the length, so the folded path's prefixes are the folded paths of the ancestors.
    const QString foldedPath = folded(path);
    if (const auto found = m_keyIndex.constFind(foldedPath); found != m_keyIndex.cend())
        return m_keys[*found];
    // Parents first, so that a new key's ancestors exist and are written before it. The ancestors are
    // walked without recursion: a key nested thousands of levels deep must not exhaust the stack.
    QList<qsizetype> missingEnds{path.size()};
    for (qsizetype slash = path.lastIndexOf(u'\\'); slash > 0; slash = path.lastIndexOf(u'\\', slash - 1)) {
        // A root name alone ("HKEY_CURRENT_USER") is never stored.
        if (!QStringView(path).left(slash).contains(u'\\') || m_keyIndex.contains(foldedPath.left(slash)))
            break;
        missingEnds.append(slash);
    }
    for (qsizetype i = missingEnds.size() - 1; i >= 0; --i) {
        m_keyIndex.insert(foldedPath.left(missingEnds[i]), m_keys.size());
        m_keys.append(RegistryKey{path.left(missingEnds[i]), {}});
    }
    return m_keys.last();
}

void RegistryDocument::reindexKeys()
{
    m_keyIndex.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i)
        m_keyIndex.insert(folded(m_keys[i].path), i);
}

bool RegistryDocument::hasSubkeys(QStringView path) const
{
    for (const RegistryKey& key : m_keys) {
        if (key.path.size() > path.size() && key.path[path.size()] == u'\\' &&
            sameName(QStringView(key.path).left(path.size()), path))
            return true;
    }
    return false;
}

bool RegistryDocument::removeKey(QStringView path)
{
    const auto found = m_keyIndex.constFind(folded(path));
    if (found == m_keyIndex.cend())
        return false;
    m_keys.removeAt(*found);
    reindexKeys();
    return true;
}

static qsizetype valuePosition(const RegistryKey& key, QStringView name)
{
    if (key.valueIndex.isEmpty()) {
        for (qsizetype i = 0; i < key.values.size(); ++i) {
            if (sameName(key.values[i].name, name))
                return i;
        }
        return -1;
    }
    return key.valueIndex.value(folded(name), -1);
}

const RegistryEntry* RegistryDocument::findValue(const RegistryKey& key, QStringView name)
{
    const qsizetype position = valuePosition(key, name);
    return position < 0 ? nullptr : &key.values[position];
}

void RegistryDocument::setValue(RegistryKey& key, RegistryEntry entry)
{
    if (const qsizetype position = valuePosition(key, entry.name); position >= 0) {
        RegistryEntry& existing = key.values[position];
        entry.name = existing.name;
        existing = std::move(entry);
        return;
    }
    key.values.append(std::move(entry));
    if (!key.valueIndex.isEmpty())
        key.valueIndex.insert(folded(key.values.last().name), key.values.size() - 1);
    else if (key.values.size() == kIndexedValues)
        indexValues(key);
}

bool RegistryDocument::removeValue(RegistryKey& key, QStringView name)
{
    const qsizetype position = valuePosition(key, name);
    if (position < 0)
        return false;
    key.values.removeAt(position);
    if (!key.valueIndex.isEmpty())
        indexValues(key);
    return true;
}

} // namespace kiv
