// QuickLoadEntries: building and editing the entries of the quick-load index.
#include "QuickLoadEntries.h"

#include "KsError.h"
#include "LinesFile.h"
#include "Paths.h"
#include "language.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString TQuickLoadEntries::BuildEntry(const QString &name, const QString &path)
{
    return name + u" {"_s + path + u"}"_s;
}

QString TQuickLoadEntries::NameMissingMessage()
{
    return u"Введите название списка"_s;
}

QString TQuickLoadEntries::IndexFile(const QString &programFolder)
{
    return programFolder + u"main.lis"_s;
}

std::optional<TQuickLoadEntry> TQuickLoadEntries::Click(int position)
{
    if (position < 0 || position >= m_entries.size())
        return std::nullopt;
    m_position = position;
    return QuickLoad::SplitEntryForManager(m_entries.at(position));
}

void TQuickLoadEntries::Remove(int position)
{
    if (position < 0 || position >= m_entries.size())
        return;
    m_entries.removeAt(position);
    Edited();
}

TQuickLoadEntries::TEdit TQuickLoadEntries::Add(const QString &name, const QString &path)
{
    if (language::Trim(name).isEmpty())
        return TEdit::NameMissing;
    m_entries.append(BuildEntry(name, path));
    Edited();
    return TEdit::Done;
}

TQuickLoadEntries::TEdit TQuickLoadEntries::Change(const QString &name, const QString &path)
{
    if (language::Trim(name).isEmpty())
        return TEdit::NameMissing;
    if (m_position >= m_entries.size())
        return TEdit::NoEntryThere;
    m_entries[m_position] = BuildEntry(name, path);
    Edited();
    return TEdit::Done;
}

void TQuickLoadEntries::Clear()
{
    m_entries.clear();
    Edited();
}

void TQuickLoadEntries::Load(const QString &programFolder)
{
    // Reading the file now would throw away what the failed write was to keep.
    if (m_unsaved)
        return;
    const QString file = IndexFile(programFolder);
    if (!QFileInfo::exists(Paths::toFileSystem(file)))
        return;
    try {
        LinesFile::TLinesText index = LinesFile::readFile(file);
        m_entries = std::move(index.Lines);
        m_encoding = std::move(index.Encoding);
    } catch (const KsError &) {
        m_unreadIndex = true;
        throw;
    }
    m_unreadIndex = false;
}

void TQuickLoadEntries::Save(const QString &programFolder, TUndoHistory *history)
{
    // Writing entries the user never saw from the file would destroy the file's own.
    if (m_unreadIndex)
        return;
    try {
        m_encoding = LinesFile::writeFile(IndexFile(programFolder), m_entries, m_encoding, history);
    } catch (const KsError &) {
        m_unsaved = true;
        throw;
    }
    m_unsaved = false;
}
