// IniFile: finding sections and keys in the lines of an INI file, numbers in it, and its safe save.
#include "IniFile.h"

#include "KsError.h"
#include "LinesFile.h"
#include "Paths.h"
#include "SafeSave.h"
#include "language.h"

#include <QFileInfo>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The name of a section header line ("[name]", blanks allowed around it and the name); nullopt for other lines.
std::optional<QString> sectionName(const QString &line)
{
    const QString text = language::Trim(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return language::Trim(text.mid(1, close < 0 ? -1 : close - 1));
}

// The key name of a "key=value" line; empty for comments and lines without "=".
QString keyName(const QString &line)
{
    const QString text = language::Trim(line);
    if (text.startsWith(u';') || text.startsWith(u'['))
        return QString();
    const qsizetype equals = text.indexOf(u'=');
    return equals < 0 ? QString() : language::Trim(text.left(equals));
}

// The value of a hexadecimal digit, -1 for any other character.
int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TIniFile::TIniFile(const QString &fileName, TText text) : m_fileName(fileName), m_text(text)
{
    if (!QFileInfo::exists(Paths::toFileSystem(fileName)))
        return;
    try {
        LinesFile::TLinesText text = LinesFile::readFile(fileName, LinesFile::SettingsLimits);
        m_lines = std::move(text.Lines);
        m_encoding = std::move(text.Encoding);
    } catch (const KsError &) {
        m_unreadable = true;
    }
}

TIniFile::TKeyLine TIniFile::Find(const QString &section, const QString &key) const
{
    TKeyLine found;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (const std::optional<QString> name = sectionName(m_lines.at(i))) {
            if (found.Section >= 0)
                break; // the end of the first section of that name
            if (sameName(*name, section))
                found.Section = i;
            continue;
        }
        if (found.Section >= 0 && sameName(keyName(m_lines.at(i)), key) && !key.isEmpty()) {
            found.Key = i;
            break;
        }
    }
    return found;
}

std::optional<QString> TIniFile::Value(const QString &section, const QString &key) const
{
    const TKeyLine found = Find(section, key);
    if (found.Key < 0)
        return std::nullopt;
    const QString &line = m_lines.at(found.Key);
    const QString value = language::Trim(line.mid(line.indexOf(u'=') + 1));
    // As Windows reads a profile: one pair of enclosing quotes, double or single, is not part of the value.
    if (m_text == WindowsText && value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return Value(section, key).value_or(defaultValue);
}

qint32 TIniFile::ReadInteger(const QString &section, const QString &key, qint32 defaultValue) const
{
    const std::optional<QString> value = Value(section, key);
    if (!value)
        return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

std::optional<qint32> TIniFile::ParseInteger(const QString &text)
{
    if (text.startsWith("0x"_L1, Qt::CaseInsensitive)) {
        if (text.size() < 3)
            return std::nullopt;
        // Leading zeros do not count: any number of digits is fine while the value fits 32 bits.
        quint64 value = 0;
        for (qsizetype k = 2; k < text.size(); ++k) {
            const int digit = hexDigit(text.at(k).unicode());
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        // Eight digits fill all 32 bits: 0x8000000F is the same number as -2147483633.
        return qint32(value);
    }
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype k = i; k < text.size(); ++k)
        if (text.at(k) < u'0' || text.at(k) > u'9')
            return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const TKeyLine found = Find(section, key);
    if (found.Key >= 0) {
        // The key keeps the spelling the file gave it.
        m_lines[found.Key] = keyName(m_lines.at(found.Key)) + u'=' + value;
        return;
    }
    const QString line = key + u'=' + value;
    if (found.Section >= 0) {
        // After the section's last line that is not blank, so that a blank line before the next section stays.
        qsizetype end = found.Section + 1;
        while (end < m_lines.size() && !sectionName(m_lines.at(end)))
            ++end;
        qsizetype at = end;
        while (at > found.Section + 1 && language::Trim(m_lines.at(at - 1)).isEmpty())
            --at;
        m_lines.insert(at, line);
        return;
    }
    if (!m_lines.isEmpty() && !language::Trim(m_lines.last()).isEmpty())
        m_lines.append(QString());
    m_lines.append(u'[' + section + u']');
    m_lines.append(line);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::Save() const
{
    if (m_unreadable)
        return false;
    if (m_text == DesktopText) {
        QByteArray bytes;
        for (const QString &line : m_lines)
            bytes += line.toUtf8() + '\n';
        return SafeSave::WriteFile(Paths::toFileSystem(m_fileName), bytes);
    }
    try {
        LinesFile::writeFile(m_fileName, m_lines, m_encoding);
    } catch (const KsError &) {
        return false;
    }
    return true;
}
