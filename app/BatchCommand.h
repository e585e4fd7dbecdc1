// BatchCommand: the command lines that ask for work without a window (a folder scanned into list text,
// a list exported), read into a command or refused with the reason.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace BatchCommand {

enum class TMode { Window, Scan, ExportHtml, ExportM3u };

/// What the arguments ask for.
struct TCommand
{
    TMode Mode = TMode::Window;
    QString Wrong;                  ///< why the arguments are wrong (usage, exit 2); empty when they are right
    QString Folder;                 ///< --scan FOLDER
    QString Extension = QStringLiteral("mp3"); ///< --ext
    QString Author;                 ///< --author, as typed
    QString Url;                    ///< --url, as typed
    QString Output;                 ///< --output LIST; empty: standard output
    bool Append = false;            ///< --append
    QString List;                   ///< --export-html and --export-m3u: the list
    QString Target;                 ///< and the page or playlist
};

/// Reads the arguments after the program's name ("--name value" or "--name=value", in any order).
/// Mode Window with Wrong empty when they ask for the window: none, or a first argument that does not
/// begin with "-" or names an existing file (isFile tells). Anything else is a command or Wrong.
TCommand Parse(const QStringList &arguments, const std::function<bool(const QString &)> &isFile);

} // namespace BatchCommand
