// Batch: scanning and exporting for the command line, with the rules and files of the windows' commands.
#include "Batch.h"

#include "AlbumText.h"
#include "AudioInfo.h"
#include "CatalogueTree.h"
#include "Console.h"
#include "ExportTarget.h"
#include "FileFinder.h"
#include "FileSearch.h"
#include "HtmlExport.h"
#include "KsError.h"
#include "LinesFile.h"
#include "M3uExport.h"
#include "OpenList.h"
#include "Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;
using BatchCommand::TCommand;
using BatchCommand::TMode;

namespace {

void put(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// A message for standard error; an error is one line.
void tell(const QString &text)
{
    put(stderr, text.toLocal8Bit() + '\n');
    std::fflush(stderr);
}

// A command's own check that failed.
struct TFailed
{
    QString Message;
};

// The progress line of a running search, redrawn in place on a terminal.
class TProgress
{
public:
    explicit TProgress(const TFileSearch &search) : m_search(search)
    {
        m_timer.setInterval(100);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { Show(); });
        m_timer.start();
    }
    ~TProgress() { End(); }
    void End()
    {
        if (!m_timer.isActive())
            return;
        m_timer.stop();
        Draw(u"Найдено файлов: %1, альбомов: %2."_s.arg(m_search.FilesFound()).arg(m_search.Albums()));
        put(stderr, "\n");
    }

private:
    void Show()
    {
        QString folder = m_search.Scanning();
        if (folder.size() > 50)
            folder = u"…"_s + folder.right(49); // the end of a long folder tells the most
        Draw(u"Найдено файлов: %1. Папка: %2"_s.arg(m_search.FilesFound()).arg(folder));
    }
    void Draw(const QString &text)
    {
        const qsizetype width = text.size();
        put(stderr, '\r' + text.leftJustified(std::max(width, m_width)).toLocal8Bit());
        std::fflush(stderr);
        m_width = width;
    }
    const TFileSearch &m_search;
    QTimer m_timer;
    qsizetype m_width = 0;
};

QStringList scanFolder(const TCommand &c)
{
    const QFileInfo folder(c.Folder);
    if (!folder.isDir())
        throw TFailed{ u"Папка не найдена: %1"_s.arg(c.Folder) };
    const bool terminal = Console::ErrorIsTerminal();
    // As the file search dialog is set up; the event loop turns only for the progress line.
    TAudioInfo info;
    TFileFinder finder;
    finder.FileAttr = 63;
    finder.SubFolders = true;
    finder.ProcessMessages = terminal;
    finder.PumpInterval = 20;
    finder.FuzzySearch = true;
    finder.IgnoreCase = true;
    TFileSearch search(finder, info);
    QStringList lines;
    search.OnAlbum = [&lines](const QStringList &block) { lines << block; };
    std::optional<TProgress> progress;
    if (terminal)
        progress.emplace(search);
    const TSearchRequest request{ QDir::toNativeSeparators(folder.absoluteFilePath()), c.Extension, c.Author, c.Url };
    if (!search.Run(request))
        throw TFailed{ u"Расширение «%1» не ищется: укажите в --ext расширение файлов, например mp3."_s.arg(
            c.Extension) };
    progress.reset();
    if (const QString told = AlbumText::LeftOutMessage(search.Unreadable(), search.LeftOut()); !told.isEmpty())
        tell(told);
    return lines;
}

void scan(const TCommand &c)
{
    const QStringList lines = scanFolder(c);
    if (c.Output.isEmpty()) {
        Console::BinaryOutput();
        for (const QString &line : lines)
            put(stdout, line.toUtf8() + '\n');
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            throw TFailed{ u"Cannot write to standard output"_s };
        return;
    }
    const QString output = QFileInfo(c.Output).absoluteFilePath();
    if (c.Append) {
        if (!AlbumText::AppendToListFile(output, lines))
            throw KsError::cannotOpen(output);
        return;
    }
    if (const QString refusal = AlbumText::CheckListSave(lines, output, false).Refusal; !refusal.isEmpty())
        throw TFailed{ refusal };
    AlbumText::SaveAlbumList(output, lines);
}

void exportList(const TCommand &c, const QString &programFolder)
{
    const QString listFile = QFileInfo(c.List).absoluteFilePath();
    const QString target = QFileInfo(c.Target).absoluteFilePath();
    // Read as the window opens it, so that a damaged list fails the same way.
    TOpenList list;
    TCatalogueTree tree;
    TLoadContext context;
    context.ProgramFolder = programFolder;
    list.LoadList(listFile, tree, context);
    ExportTarget::TKeptFiles kept{ listFile, programFolder + u"main.lis"_s, { programFolder + u"ks.ini"_s } };
    if (const QString own = TOpenList::SettingsLineName(list.ListLines); !own.isEmpty())
        kept.SettingsFiles << programFolder + own << Paths::folderOf(listFile) + own;
    const bool page = c.Mode == TMode::ExportHtml;
    const QString refusal =
        ExportTarget::Refusal(target, kept, page ? ExportTarget::TKind::Page : ExportTarget::TKind::Playlist);
    if (!refusal.isEmpty())
        throw TFailed{ refusal };
    if (page) {
        HtmlExport::WritePage(target, list.ListLines, listFile, list.Encoding, programFolder);
        return;
    }
    const M3uExport::TPlaylist playlist = M3uExport::WritePlaylist(target, list.ListLines, programFolder);
    if (const QString told = M3uExport::LeftOutMessage(playlist); !told.isEmpty())
        tell(told);
}

} // namespace

namespace Batch {

int Run(const TCommand &command, const QString &programFolder)
{
    try {
        if (command.Mode == TMode::Scan)
            scan(command);
        else
            exportList(command, programFolder);
        return 0;
    } catch (const TFailed &failed) {
        tell(u"kestrune: "_s + failed.Message.simplified());
    } catch (const KsError &error) {
        tell(u"kestrune: "_s + error.message().simplified());
    } catch (const std::exception &error) {
        tell(u"kestrune: "_s + QString::fromLocal8Bit(error.what()).simplified());
    }
    return 1;
}

} // namespace Batch
