// IniFile: TIniFile, a settings file in INI format with the Windows profile rules, changed in memory and saved whole.
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>
#include <optional>

/// The lines of one INI file. Section and key names match without regard to letter case, values are
/// read trimmed, and every line the file had (comments, unknown keys and sections) is kept as it was.
class TIniFile
{
public:
    /// How the file is written: a settings file of the program with CR LF in its own encoding (new
    /// files in code page 1251), or a file of the Linux desktop (mimeapps.list) in UTF-8 with LF.
    enum TText { WindowsText, DesktopText };

    /// Reads the file; a missing or unreadable file (not a regular file, over 1 MB) reads as empty and is
    /// never replaced. A file with a UTF-16 mark is read, and written back, as UTF-16.
    explicit TIniFile(const QString &fileName, TText text = WindowsText);

    const QString &FileName() const { return m_fileName; }
    const QStringList &Lines() const { return m_lines; }

    /// The trimmed value of the first such key of the first such section; nullopt when absent. A key
    /// present with nothing after "=" gives the empty text. In a settings file one pair of enclosing
    /// quotes, double or single, is dropped ("WsNormal" reads WsNormal).
    std::optional<QString> Value(const QString &section, const QString &key) const;
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    /// Decimal, or hexadecimal after "0x" or "0X"; anything else, and an absent key, gives the default.
    qint32 ReadInteger(const QString &section, const QString &key, qint32 defaultValue) const;

    /// Replaces the key's line in place, or adds the key at the end of its section, adding the
    /// section at the end of the file when it is missing. Nothing is written until Save.
    void WriteString(const QString &section, const QString &key, const QString &value);
    /// Writes a signed decimal number.
    void WriteInteger(const QString &section, const QString &key, qint32 value);

    /// Replaces the file with the lines through a safe save, as TText says. Returns false, leaving the file as it was, when it cannot be written or when
    /// it exists but could not be read (its lines would be lost).
    bool Save() const;

    /// An integer as the file states it: decimal with an optional sign, or "0x"/"0X" and hexadecimal
    /// digits whose value fits 32 bits (leading zeros allowed), taken as 32 bits; nullopt for anything else.
    static std::optional<qint32> ParseInteger(const QString &text);

private:
    struct TKeyLine
    {
        qsizetype Section = -1; ///< index of the section's header line, -1 when the section is absent
        qsizetype Key = -1;     ///< index of the key's line, -1 when the key is absent
    };
    TKeyLine Find(const QString &section, const QString &key) const;

    QString m_fileName;
    TText m_text;
    QStringList m_lines;
    TextCodec::TFileEncoding m_encoding;
    bool m_unreadable = false;
};
