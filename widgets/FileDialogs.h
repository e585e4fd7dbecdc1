// FileDialogs: the open and save file dialogs, behind a seam so that tests answer them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

/// What the user confirmed in a file dialog.
struct TFileChoice
{
    QString Path;        ///< the chosen file, as the dialog returned it
    int FilterIndex = 0; ///< 0-based entry of the filter that was selected
};

/// Shows the common file dialogs. Filters are written "Caption|*.a;*.b|Caption|*.c". Every dialog
/// returns an absolute path to a file, never a folder (a folder chosen is opened instead); the open
/// dialogs also return names of files that do not exist, so that the caller's extension rule applies.
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    /// An open dialog; empty when cancelled.
    virtual std::optional<TFileChoice> OpenFile(QWidget *parent, const QString &filter, int initialFilter = 0) = 0;
    /// An open dialog for a picture, with a preview of the selected file.
    virtual std::optional<TFileChoice> OpenPicture(QWidget *parent, const QString &filter, int initialFilter = 0) = 0;
    /// A save dialog; it never asks before replacing a file. It starts with startName when one is given
    /// (a name, or a path whose folder it opens in).
    virtual std::optional<TFileChoice> SaveFile(QWidget *parent, const QString &filter, int initialFilter = 0,
                                                const QString &startName = QString()) = 0;

    /// Where every dialog starts (the open list's folder, or the program folder), asked each time.
    void SetStartFolder(std::function<QString()> folder) { m_startFolder = std::move(folder); }
    QString StartFolder() const { return m_startFolder ? m_startFolder() : QString(); }

private:
    std::function<QString()> m_startFolder;
};

/// The toolkit's dialogs.
class TQtFileDialogs : public IFileDialogs
{
public:
    std::optional<TFileChoice> OpenFile(QWidget *parent, const QString &filter, int initialFilter = 0) override;
    std::optional<TFileChoice> OpenPicture(QWidget *parent, const QString &filter, int initialFilter = 0) override;
    std::optional<TFileChoice> SaveFile(QWidget *parent, const QString &filter, int initialFilter = 0,
                                        const QString &startName = QString()) override;
};

namespace FileDialogs {
/// Throws std::logic_error for a path the toolkit's dialogs never return: empty, relative, a folder.
void CheckAnswer(const QString &path);
/// "HTML|*.htm|TXT|*.txt" as the toolkit's name filters: "HTML (*.htm)", "TXT (*.txt)".
QStringList NameFilters(const QString &filter);
/// A name chosen in a dialog gets the extension when its file name has no "." (Paths::withDefaultExtension).
QString WithDefaultExtension(const QString &path, const QString &extension);
} // namespace FileDialogs

/// Answers from a queue and records every request; an empty queue answers "cancelled". An answer the
/// real dialogs never give (a relative path, a folder, an empty name) fails the command with an error.
class TScriptedFileDialogs : public IFileDialogs
{
public:
    struct Request
    {
        QString Kind; ///< "open", "picture" or "save"
        QString Filter;
        int InitialFilter = 0;
        QString StartFolder;
        QString StartName; ///< the name a save dialog starts with
    };
    QList<std::optional<TFileChoice>> Answers;
    QList<Request> Requests;

    /// Queues a confirmed choice.
    void Answer(const QString &path, int filterIndex = 0) { Answers.append(TFileChoice{ path, filterIndex }); }
    /// Queues a cancel.
    void Cancel() { Answers.append(std::nullopt); }

    std::optional<TFileChoice> OpenFile(QWidget *, const QString &filter, int initialFilter = 0) override
    {
        return Next(QStringLiteral("open"), filter, initialFilter);
    }
    std::optional<TFileChoice> OpenPicture(QWidget *, const QString &filter, int initialFilter = 0) override
    {
        return Next(QStringLiteral("picture"), filter, initialFilter);
    }
    std::optional<TFileChoice> SaveFile(QWidget *, const QString &filter, int initialFilter = 0,
                                        const QString &startName = QString()) override
    {
        return Next(QStringLiteral("save"), filter, initialFilter, startName);
    }

private:
    std::optional<TFileChoice> Next(const QString &kind, const QString &filter, int initialFilter,
                                    const QString &startName = QString())
    {
        Requests.append(Request{ kind, filter, initialFilter, StartFolder(), startName });
        const std::optional<TFileChoice> answer = Answers.isEmpty() ? std::nullopt : Answers.takeFirst();
        if (answer)
            FileDialogs::CheckAnswer(answer->Path);
        return answer;
    }
};

