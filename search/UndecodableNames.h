// UndecodableNames: the entries of a folder whose names the file system holds in bytes that are not
// text in its encoding, which Qt's folder scans pass over without a word.
#pragma once

#include <QList>
#include <QString>

/// One such entry: its name with U+FFFD for the bytes that are not text, and whether it is a folder
/// (not a link to one).
struct TUndecodableEntry
{
    QString Name;
    bool Folder = false;
};

/// The entries of folder (its path as Qt names it) whose names are not text; none on a file system
/// that names files in UTF-16, or when the folder cannot be read.
QList<TUndecodableEntry> UndecodableEntries(const QString &folder);
