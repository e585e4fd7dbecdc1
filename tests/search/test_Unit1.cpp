// test_Unit1: the file search dialog on the main window's fakes: its controls, a search over corpus
// files, the two ways of keeping the text, and a search stopped from its own buttons.
#include "../app/MainWindowFixture.h"

#include "AudioInfo.h"
#include "CatalogueTree.h"
#include "FileBrowser.h"
#include "FileFinder.h"
#include "LineTextBox.h"
#include "OpenList.h"
#include "Unit1.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::readBytes;

namespace {
const QString Corpus = QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/");
}

class TestUnit1 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TWindowOnList> m_w;
    TFileFindForm *m_form = nullptr;

    template <class T> T *get(const QString &name)
    {
        T *c = m_form->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString text() { return get<TLineTextBox>(u"RichEdit1"_s)->Lines().join(u'\n'); }
    QString native(const QString &relative) const { return QDir::toNativeSeparators(m_w->Folder.Path(relative)); }
    void copy(const QString &corpusFile, const QString &to)
    {
        QDir().mkpath(QFileInfo(m_w->Folder.Path(to)).path());
        QVERIFY(QFile::copy(Corpus + corpusFile, m_w->Folder.Path(to)));
    }
    void searchIn(const QString &relative)
    {
        get<TDirectoryListBox>(u"DirectoryListBox1"_s)->SetDirectory(native(relative));
        get<QPushButton>(u"Button1"_s)->click();
    }

private slots:
    void init()
    {
        QCoreApplication::setApplicationName(u"Kestrune"_s);
        m_w = std::make_unique<TWindowOnList>();
        QVERIFY(m_w->Load(albumBlock(u"Old"_s, QString(), QString()) << u"ini: dark.ini"_s));
        copy(u"vbr_V7_22k_noxing.mp3"_s, u"music/Полдень.mp3"_s);
        copy(u"vbri_V9_mpeg1.mp3"_s, u"music/Song.MP3"_s);
        copy(u"trunc_vbr_V7_22k_noxing.mp3"_s, u"music/sub/日本.mp3"_s);
        m_w->W.Find<QAction>(u"N4"_s)->trigger();
        m_form = m_w->W.Form->FileFindForm();
        QVERIFY(m_form && m_form->isVisible());
    }
    void cleanup() { m_w.reset(); }

    void controls()
    {
        QCOMPARE(m_form->windowTitle(), u"Поиск файлов"_s);
        QVERIFY(m_form->width() >= 534 && m_form->height() >= 354);
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QString clipped;
        QVERIFY2(CaptionsFit(m_form, &clipped), qPrintable(clipped));
        QVERIFY(m_form->windowFlags().testFlag(Qt::Tool));
        const std::pair<const char *, const char16_t *> captions[] = {
            { "Button1", u"Поиск" }, { "Button2", u"Выход" }, { "Button3", u"Сохранить в новый" },
            { "Button4", u"Добавить к текущему" } };
        for (const auto &[name, caption] : captions)
            QCOMPARE(get<QPushButton>(QString::fromLatin1(name))->text(), QString::fromUtf16(caption));
        QCOMPARE(get<QLabel>(u"Label1"_s)->text(), u"Композитор:"_s);
        QCOMPARE(get<QLabel>(u"Label2"_s)->text(), u"URL:"_s);
        QCOMPARE(get<QLabel>(u"Label3"_s)->text(), u"*."_s);
        QVERIFY(get<QLabel>(u"Label3"_s)->font().bold());
        QVERIFY(get<QLineEdit>(u"Edit1"_s) && get<QLineEdit>(u"Edit2"_s));
        QVERIFY(get<TDriveComboBox>(u"DriveComboBox1"_s)->count() > 0);
        auto *box = get<TLineTextBox>(u"RichEdit1"_s)->Editor();
        QVERIFY(!box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
        const TFileFinder &f = m_form->FileFinder1();
        QCOMPARE(f.objectName(), u"FileFinder1"_s);
        QVERIFY(f.FileAttr == 63 && f.SubFolders && f.ProcessMessages && f.FuzzySearch && f.IgnoreCase);
        // The extension drives the file list's mask.
        auto *files = get<TFileListBox>(u"FileListBox1"_s);
        QCOMPARE(get<QLineEdit>(u"Edit3"_s)->text(), u"mp3"_s);
        QCOMPARE(files->Mask(), u"*.mp3"_s);
        get<QLineEdit>(u"Edit3"_s)->setText(u"wav"_s);
        QCOMPARE(files->Mask(), u"*.wav"_s);
        // The list shows exactly the files a search takes.
        copy(u"vbr_V7_22k_noxing.mp3"_s, u"music/x.WAV"_s);
        files->SetDirectory(native(u"music"_s));
        const std::pair<QString, QStringList> shown[] = {
            { u"mp3; wav"_s, { u"Song.MP3"_s, u"x.WAV"_s, u"Полдень.mp3"_s } }, { u"mp3;*"_s, {} }, { u"WAV"_s, { u"x.WAV"_s } } };
        for (const auto &[typed, names] : shown) {
            get<QLineEdit>(u"Edit3"_s)->setText(typed);
            QCOMPARE(files->Names(), names);
        }
        get<QPushButton>(u"Button2"_s)->click();
        QVERIFY(!m_form->isVisible());
    }

    void searchThenSaveAndAdd()
    {
        searchIn(u"music"_s);
        const QString music = native(u"music"_s);
        const QString sub = native(u"music/sub"_s);
        const QStringList lines = text().split(u'\n');
        // Two albums of the texts the search writes (their lines are checked where they are made).
        QCOMPARE(lines.size(), 2 * 8 + 3 * 4);
        QCOMPARE(lines.at(2), u"album: "_s + music);
        QCOMPARE(lines.at(18), u"album: "_s + sub);
        QCOMPARE(get<QLabel>(u"Label4"_s)->toolTip(), u"Найдено файлов: 3, альбомов: 2."_s);
        // The folder list moved to the last album's folder.
        QCOMPARE(get<TDirectoryListBox>(u"DirectoryListBox1"_s)->Directory(), sub);

        // A new list: ".lst" added, CR LF, and UTF-8 with its mark for the name outside code page 1251.
        m_w->W.FileDialogs.Answer(m_w->Folder.Path(u"new"_s));
        get<QPushButton>(u"Button3"_s)->click();
        QCOMPARE(m_w->W.FileDialogs.Requests.last().Filter, u"*.lst|*.lst"_s);
        QCOMPARE(readBytes(m_w->Folder.Path(u"new.lst"_s)), "\xEF\xBB\xBF" + (lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());

        // Added to the open list before its settings line: saved, reloaded, shown.
        TOpenList &open = m_w->W.Form->OpenList();
        const QStringList before = open.ListLines;
        get<QPushButton>(u"Button4"_s)->click();
        const QStringList added = before.mid(0, before.size() - 1) + lines + QStringList{ before.last() };
        QCOMPARE(open.ListLines, added);
        QCOMPARE(LinesFile::readLines(m_w->File), open.ListLines);
        QCOMPARE(CatalogueTestUtil::texts(m_w->W.Form->Tree()),
                 (QStringList{ u"Old"_s, music, u"  Song"_s, u"  Полдень"_s, sub, u"  日本"_s }));

        // A save that fails leaves the open list, its file and the tree as they were.
        const QString file = open.ListFileName;
        const QByteArray onDisk = readBytes(file);
        open.ListFileName = m_w->Folder.Path(u"no folder/list.lst"_s);
        get<QPushButton>(u"Button4"_s)->click();
        QCOMPARE(m_w->W.Messages.Errors, QStringList{ u"Cannot create file "_s + open.ListFileName + u'.' });
        QCOMPARE(open.ListLines, added);
        QCOMPARE(readBytes(file), onDisk);
        QCOMPARE(m_w->W.Form->Tree().NodeCount(), 6);
        QVERIFY(m_w->W.Messages.Messages.isEmpty());
    }

    void saveRefusals()
    {
        const QString empty = u"Нет текста для сохранения."_s;
        const QString own = u"«%1» — файл открытого списка. Заменить весь список этим текстом?"_s;
        // The text in the box, the file chosen, the answer to a question, what is told, whether it is saved.
        const std::tuple<QString, QString, bool, QString, bool> rows[] = {
            { QString(), u"new.lst"_s, true, empty, false }, { u" \n\t\n "_s, u"list.lst"_s, true, empty, false },
            { u"x"_s, u"list.lst"_s, false, own, false }, { u"x"_s, u"list.lst"_s, true, own, true } };
        for (const auto &[text, target, answer, told, saved] : rows) {
            m_w->W.Messages = {};
            get<TLineTextBox>(u"RichEdit1"_s)->Editor()->setPlainText(text);
            const QString path = m_w->Folder.Path(target);
            const QByteArray before = readBytes(path);
            m_w->W.Messages.Answers << answer;
            m_w->W.FileDialogs.Answer(path);
            get<QPushButton>(u"Button3"_s)->click();
            QCOMPARE(m_w->W.Messages.Messages + m_w->W.Messages.Questions, QStringList{ told.arg(path) });
            QCOMPARE(readBytes(path), saved ? QByteArray("x\r\n") : before);
        }
        QCOMPARE(m_w->W.Form->OpenList().ListLines, LinesFile::readLines(m_w->File));
    }

    void theBoxKeepsNamesAndTakesEdits()
    {
        copy(u"vbr_V7_22k_noxing.mp3"_s, u"names/a\u00A0b\u2028c.mp3"_s);
        copy(u"vbr_V7_22k_noxing.mp3"_s, u"names/d\ne.mp3"_s);
        searchIn(u"names"_s);
        // The name the list cannot hold is left out, and told on one line.
        QVERIFY(m_w->W.Messages.Messages.value(0).startsWith(u"Пропущено файлов и папок: 1."_s));
        QVERIFY(m_w->W.Messages.Messages.value(0).endsWith(u'\n' + native(u"names/d\uFFFDe.mp3"_s)));
        // A line the user adds is taken as it stands.
        get<TLineTextBox>(u"RichEdit1"_s)->Editor()->appendPlainText(u"note\u00A0"_s);
        get<QPushButton>(u"Button4"_s)->click();
        const QStringList &lines = m_w->W.Form->OpenList().ListLines;
        const QString file = u"file: "_s + native(u"names/a\u00A0b\u2028c.mp3"_s);
        QCOMPARE(lines.mid(lines.size() - 7), (QStringList{ u"track: a\u00A0b\u2028c"_s, u"size: 00:03"_s, file, u"dfile: "_s,
                                                             u"--endofalbum"_s, u"note\u00A0"_s, u"ini: dark.ini"_s }));
        QCOMPARE(LinesFile::readLines(m_w->File), lines);
    }

    void buttonsStopARunningSearch()
    {
        m_form->FileFinder1().PumpInterval = 0; // every entry lets the clicks below through
        auto *search = get<QPushButton>(u"Button1"_s);
        // "Поиск" pressed during the search stops it; no second search runs inside it.
        QMetaObject::invokeMethod(search, &QPushButton::click, Qt::QueuedConnection);
        searchIn(u"music"_s);
        QVERIFY(m_form->LastSearch().Stopped());
        QCOMPARE(text(), QString());
        QCOMPARE(search->text(), u"Поиск"_s);
        QVERIFY(get<QPushButton>(u"Button4"_s)->isEnabled());
        // "Выход" stops it and hides the dialog.
        QMetaObject::invokeMethod(get<QPushButton>(u"Button2"_s), &QPushButton::click, Qt::QueuedConnection);
        searchIn(u"music"_s);
        QVERIFY(m_form->LastSearch().Stopped());
        QVERIFY(!m_form->isVisible());
        QVERIFY(m_w->W.Messages.Errors.isEmpty());
    }

    void unreadableFilesAreToldOnce()
    {
        // A file that vanishes after its folder was listed (the walk's end comes before the last
        // folder's album), before it is read.
        m_form->FileFinder1().OnStop = [this](TFileFinder &) { QFile::remove(m_w->Folder.Path(u"music/sub/日本.mp3"_s)); };
        copy(u"vbri_V9_mpeg1.mp3"_s, u"music/sub/a.mp3"_s);
        searchIn(u"music/sub"_s);
        QCOMPARE(text().split(u'\n').mid(7, 6),
                 (QStringList{ u"track: a"_s, u"size: 00:03"_s, u"file: "_s + native(u"music/sub/a.mp3"_s),
                               u"dfile: "_s, u"track: 日本"_s, u"size: 00:00"_s }));
        QCOMPARE(m_w->W.Messages.Messages,
                 QStringList{ u"Не удалось прочитать файлов: 1. Их длительность записана как 00:00."_s });
    }
};

QTEST_MAIN(TestUnit1)
#include "test_Unit1.moc"
