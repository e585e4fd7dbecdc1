// QuickLoadEntries: building and editing the entries of the quick-load index.
#pragma once

#include "OpenList.h"

#include <QString>
#include <QStringList>
#include <optional>

/// The entries of main.lis as the quick-load manager edits them, with the remembered position.
class TQuickLoadEntries
{
public:
    /// How an edit from the name and path fields ended.
    enum class TEdit { Done, NameMissing, NoEntryThere };

    /// name + " {" + path + "}", the fields as they stand.
    static QString BuildEntry(const QString &name, const QString &path);
    /// The message for a name that is empty once trimmed.
    static QString NameMissingMessage();
    /// program folder + "main.lis".
    static QString IndexFile(const QString &programFolder);

    const QStringList &Entries() const { return m_entries; }
    /// The position last clicked; 0 until a click, and unchanged by removals.
    int RememberedPosition() const { return m_position; }

    /// A click on the entry at position: remembers it and gives the manager's split of it;
    /// none (and nothing remembered) when no entry is there.
    std::optional<TQuickLoadEntry> Click(int position);
    /// Removes the entry at position, if there is one.
    void Remove(int position);
    /// Appends an entry built from the fields.
    TEdit Add(const QString &name, const QString &path);
    /// Replaces the entry at the remembered position with one built from the fields.
    TEdit Change(const QString &name, const QString &path);
    void Clear();

    /// Replaces the entries with the lines of main.lis when it exists; otherwise they stay.
    /// Entries whose write failed are kept instead of the file. Throws KsError when it cannot be read.
    void Load(const QString &programFolder);
    /// Writes the entries to main.lis through a safe save; throws KsError "Cannot create file %s".
    /// An index that could not be read is not overwritten unless the entries were edited since. With a
    /// history the write is recorded there.
    void Save(const QString &programFolder, TUndoHistory *history = nullptr);

private:
    void Edited() { m_unreadIndex = false; }

    QStringList m_entries;
    TextCodec::TFileEncoding m_encoding; // main.lis is written back in the encoding it was read in
    int m_position = 0;
    bool m_unsaved = false;     // the last write failed: the entries are newer than the file
    bool m_unreadIndex = false; // the last read failed: the entries are not the file's
};
