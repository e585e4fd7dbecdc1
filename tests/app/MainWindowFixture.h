// MainWindowFixture: a temporary program folder with lists, and the main window built on fakes.
#pragma once

#include "CatalogueTree.h"
#include "ColourDialog.h"
#include "DescriptionView.h"
#include "FileAssociation.h"
#include "FileDialogs.h"
#include "He1.h"
#include "LinesFile.h"
#include "Messages.h"
#include "Paths.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "UnitU1.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

/// One album block of a list file; tracks are (title, dfile) pairs.
inline QStringList albumBlock(const QString &title, const QString &description, const QString &image,
                              const QList<std::pair<QString, QString>> &tracks = {}, const QString &url = {})
{
    QStringList b{ QStringLiteral("-newalbum"), QStringLiteral("author: Someone"),
                   QStringLiteral("album: ") + title, QStringLiteral("url: ") + url,
                   QStringLiteral("discriptionfile: ") + description,
                   QStringLiteral("nt: %1").arg(tracks.size()), QStringLiteral("image: ") + image };
    for (const auto &[name, dfile] : tracks)
        b << QStringLiteral("track: ") + name << QStringLiteral("size: 3:00") << QStringLiteral("file: ") + name
          << QStringLiteral("dfile: ") + dfile;
    b << QStringLiteral("--endofalbum");
    return b;
}

/// Tracks for albumBlock with the given titles and no description files.
inline QList<std::pair<QString, QString>> tracksNamed(const QStringList &names)
{
    QList<std::pair<QString, QString>> out;
    for (const QString &n : names)
        out.append({ n, QString() });
    return out;
}

/// The main window on recording fakes, with its program folder in a temporary directory.
struct TWindowUnderTest
{
    TRecordingShell Shell;
    TRecordingMessages Messages;
    TScriptedFileDialogs FileDialogs;
    TRecordingPlayerLink Player;
    TScriptedColourDialog ColourDialog;
    TRecordingFileAssociation Association;
    TRecordingDescriptionView *View = nullptr;
    std::unique_ptr<TForm1> Form;

    void Create(const QStringList &arguments = {})
    {
        TFormServices services;
        services.Shell = &Shell;
        services.Messages = &Messages;
        services.FileDialogs = &FileDialogs;
        services.Player = &Player;
        services.ColourDialog = &ColourDialog;
        services.Association = &Association;
        auto view = std::make_unique<TRecordingDescriptionView>();
        View = view.get();
        services.DescriptionView = std::move(view);
        services.Arguments = arguments;
        Form = std::make_unique<TForm1>(std::move(services));
    }

    /// Shows the window and waits until its first paint has loaded the list.
    bool ShowAndLoad()
    {
        Form->show();
        if (!QTest::qWaitForWindowExposed(Form.get()))
            return false;
        for (int i = 0; i < 100 && Form->FirstPaintPending(); ++i)
            QTest::qWait(10);
        QCoreApplication::processEvents();
        return !Form->FirstPaintPending();
    }

    template <class T> T *Find(const QString &name) const { return Form->findChild<T *>(name); }
};

/// Edits a node in place as the user does: the field opens, the text is typed, Enter confirms.
inline bool RenameInPlace(const TWindowUnderTest &w, TTreeNode *node, const QString &text)
{
    // A late activation of the window would take the focus from the field and close it.
    w.Form->activateWindow();
    if (!QTest::qWaitForWindowActive(w.Form.get()))
        return false;
    THETreeView &view = *w.Form->TreeView();
    view.Select(node);
    static_cast<QAbstractItemView &>(view).edit(w.Form->Tree().IndexOf(node));
    QPointer<QLineEdit> editor;
    const auto visibleEditor = [&] {
        for (QLineEdit *e : view.findChildren<QLineEdit *>())
            if (e->isVisible())
                editor = e;
        return !editor.isNull();
    };
    if (!QTest::qWaitFor(visibleEditor, 2000))
        return false;
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    return QTest::qWaitFor([&] { return editor.isNull() || !editor->isVisible(); }, 2000);
}

/// True when every caption and selector of a shown window gets the width it needs: no button or label
/// cuts its text, no combo box is squeezed below its minimum.
inline bool CaptionsFit(const QWidget *window, QString *clipped = nullptr)
{
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        int needed = -1;
        if (const auto *b = qobject_cast<const QAbstractButton *>(w))
            needed = w->fontMetrics().horizontalAdvance(b->text()) + 4;
        else if (const auto *l = qobject_cast<const QLabel *>(w))
            needed = l->wordWrap() ? 0 : w->fontMetrics().horizontalAdvance(l->text());
        else if (w->inherits("QComboBox"))
            needed = w->minimumSizeHint().width();
        if (needed > w->width()) {
            if (clipped)
                *clipped = w->objectName();
            return false;
        }
    }
    return true;
}

/// A program folder of its own for every test.
class TProgramFolder
{
public:
    TProgramFolder() { Paths::setProgramFolder(m_dir.path() + QLatin1Char('/')); }
    ~TProgramFolder() { Paths::setProgramFolder(QString()); }

    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString Path(const QString &name) const { return Folder() + name; }

    QString WriteLines(const QString &name, const QStringList &lines) const
    {
        LinesFile::writeLines(Path(name), lines);
        return Path(name);
    }
    /// A default settings file that brings the description tab to the front after the first load.
    void DescriptionTabInFront() const { WriteLines(QStringLiteral("ks.ini"), { QStringLiteral("[Form]"), QStringLiteral("Window=Discription") }); }
    QString WriteBytes(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile f(Path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return Path(name);
    }

private:
    QTemporaryDir m_dir;
};

/// The loaded main window over one list file in a program folder of its own.
struct TWindowOnList
{
    TProgramFolder Folder;
    TWindowUnderTest W;
    QString File;

    bool Load(const QStringList &lines, const QString &name = QStringLiteral("list.lst"))
    {
        QDir().mkpath(QFileInfo(Folder.Path(name)).path());
        File = Folder.WriteLines(name, lines);
        W.Create({ File });
        return W.ShowAndLoad();
    }
};
