// FileDialogs: the open and save file dialogs, behind a seam so that tests answer them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

/// What the user confirmed in a file dialog.
struct TFileChoice
{
    QString Path;        ///< the chosen file, as the dialog returned it
    int FilterIndex = 0; ///< 0-based entry of the filter that was selected
};

/// Shows the common file dialogs. Filters are written "Caption|*.a;*.b|Caption|*.c".
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    /// An open dialog for an existing file; empty when cancelled.
    virtual std::optional<TFileChoice> OpenFile(QWidget *parent, const QString &filter, int initialFilter = 0) = 0;
    /// An open dialog for a picture, with a preview of the selected file.
    virtual std::optional<TFileChoice> OpenPicture(QWidget *parent, const QString &filter, int initialFilter = 0) = 0;
    /// A save dialog; it never asks before replacing a file.
    virtual std::optional<TFileChoice> SaveFile(QWidget *parent, const QString &filter, int initialFilter = 0) = 0;
};

/// The toolkit's dialogs.
class TQtFileDialogs : public IFileDialogs
{
public:
    std::optional<TFileChoice> OpenFile(QWidget *parent, const QString &filter, int initialFilter = 0) override;
    std::optional<TFileChoice> OpenPicture(QWidget *parent, const QString &filter, int initialFilter = 0) override;
    std::optional<TFileChoice> SaveFile(QWidget *parent, const QString &filter, int initialFilter = 0) override;
};

/// Answers from a queue and records every request; an empty queue answers "cancelled".
class TScriptedFileDialogs : public IFileDialogs
{
public:
    struct Request
    {
        QString Kind; ///< "open", "picture" or "save"
        QString Filter;
        int InitialFilter = 0;
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
    std::optional<TFileChoice> SaveFile(QWidget *, const QString &filter, int initialFilter = 0) override
    {
        return Next(QStringLiteral("save"), filter, initialFilter);
    }

private:
    std::optional<TFileChoice> Next(const QString &kind, const QString &filter, int initialFilter)
    {
        Requests.append(Request{ kind, filter, initialFilter });
        return Answers.isEmpty() ? std::nullopt : Answers.takeFirst();
    }
};

namespace FileDialogs {
/// "HTML|*.htm|TXT|*.txt" as the toolkit's name filters: "HTML (*.htm)", "TXT (*.txt)".
QStringList NameFilters(const QString &filter);
/// A name chosen in a dialog with no "." anywhere (folders included) gets the extension appended.
QString WithDefaultExtension(const QString &path, const QString &extension);
} // namespace FileDialogs
