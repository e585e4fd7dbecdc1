// test_Unit8: the ID3 tag editor on real MP3 files: the last 128 bytes after each action, the bytes
// before them untouched, a folder-wide action stopped by a file that cannot be written, the hand-over.
#include "../app/MainWindowFixture.h"

#include "CatalogueTree.h"
#include "FileBrowser.h"
#include "He1.h"
#include "Unit8.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using CatalogueTestUtil::readBytes;

namespace {

const QString Data = QStringLiteral(KS_TEST_DATA_DIR "/audio/");

QByteArray padded(const QByteArray &text, int width)
{
    return text.left(width) + QByteArray(qMax(0, width - int(text.size())), ' ');
}

// The tag the editor writes: texts padded with blanks, the track byte form, a genre byte.
QByteArray tagImage(const QByteArray &title, const QByteArray &artist, const QByteArray &album, const QByteArray &year,
                    const QByteArray &comment, int track, int genre)
{
    return "TAG" + padded(title, 30) + padded(artist, 30) + padded(album, 30) + padded(year, 4) + padded(comment, 28)
        + '\0' + char(track) + char(genre);
}

// Caps the size of files this process may write (a write past it fails for root too).
struct FileSizeCap
{
    rlimit old{};
    explicit FileSizeCap(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit cap{ bytes, old.rlim_max };
        setrlimit(RLIMIT_FSIZE, &cap);
    }
    ~FileSizeCap() { setrlimit(RLIMIT_FSIZE, &old); }
};

} // namespace

class TestUnit8 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TWindowOnList> m_w;
    TForm8 *m_form = nullptr;
    QMap<QString, QByteArray> m_original; // name -> bytes

    template <class T> T *get(const QString &name)
    {
        T *c = m_form->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString path(const QString &name) const { return QDir::toNativeSeparators(m_w->Folder.Path(u"tags/"_s + name)); }
    QByteArray bytes(const QString &name) const { return readBytes(path(name)); }
    void put(const QString &name, const QByteArray &content)
    {
        m_original[name] = content;
        m_w->Folder.WriteBytes(u"tags/"_s + name, content);
    }
    void click(const QString &button) { get<QPushButton>(button)->click(); }
    void set(const QString &edit, const QString &text) { get<QLineEdit>(edit)->setText(text); }
    QString field(const QString &edit) { return get<QLineEdit>(edit)->text(); }
    void doubleClick(const QString &name)
    {
        auto *files = get<TFileListBox>(u"FileListBox1"_s);
        files->SelectName(name);
        QVERIFY(files->currentItem());
        const QPoint at = files->visualItemRect(files->currentItem()).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init()
    {
        QCoreApplication::setApplicationName(u"Kestrune"_s);
        m_w = std::make_unique<TWindowOnList>();
        const QString second = QDir::toNativeSeparators(m_w->Folder.Path(u"tags/02 Second.mp3"_s));
        QStringList list = albumBlock(u"A"_s, QString(), QString(), tracksNamed({ u"t"_s, u"gone"_s }));
        list[9] = u"file: "_s + second;
        QVERIFY(m_w->Load(list));
        // An ID3v2 tag in front and an ID3v1 tag (genre 17) at the end; two files without tags.
        QByteArray tagged = readBytes(Data + u"id3v2_picture_vbr.mp3"_s);
        tagged[tagged.size() - 1] = char(17);
        put(u"01 - intro.mp3"_s, tagged);
        put(u"02 Second.mp3"_s, readBytes(Data + u"corpus/vbr_V7_22k_noxing.mp3"_s));
        put(u"Track.MP3"_s, readBytes(Data + u"corpus/vbr_V7_16k_noxing.mp3"_s));
        m_w->W.Find<QAction>(u"ID3TAG1"_s)->trigger();
        m_form = m_w->W.Form->Form8();
        QVERIFY(m_form && m_form->isVisible());
        get<TDirectoryListBox>(u"DirectoryListBox1"_s)->SetDirectory(m_w->Folder.Path(u"tags"_s));
    }
    void cleanup() { m_w.reset(); }

    void controls()
    {
        QCOMPARE(m_form->windowTitle(), u"Редактор ID3 тегов"_s);
        // The given size, or more where the desktop's font needs it; never resized.
        QVERIFY(m_form->width() >= 536 && m_form->height() >= 240);
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QString clipped;
        QVERIFY2(CaptionsFit(m_form, &clipped), qPrintable(clipped));
        const std::pair<const char *, const char16_t *> captions[] = {
            { "Button1", u"Запомнить" }, { "Button2", u"Изменить все файлы каталога" },
            { "Button4", u"Удалить из всех файлов" }, { "Button3", u"Выход" },
            { "LabeledEdit1Label", u"Название (*)" }, { "LabeledEdit5Label", u"Номер (*)" } };
        for (const auto &[name, caption] : captions) {
            QObject *o = m_form->findChild<QObject *>(QString::fromLatin1(name));
            QVERIFY2(o, name);
            QCOMPARE(o->property("text").toString(), QString::fromUtf16(caption));
        }
        QCOMPARE(get<TFileListBox>(u"FileListBox1"_s)->Names(),
                 (QStringList{ u"01 - intro.mp3"_s, u"02 Second.mp3"_s, u"Track.MP3"_s }));
        // "Запомнить" with no file loaded reports the stream's error and writes nothing.
        click(u"Button1"_s);
        QCOMPARE(m_w->W.Messages.Errors, QStringList{ u"Cannot open file "_s });
        click(u"Button3"_s);
        QVERIFY(!m_form->isVisible());
    }

    void lookingChangesNothingAndRememberKeepsTheGenre()
    {
        doubleClick(u"01 - intro.mp3"_s);
        QCOMPARE(m_form->LoadedFile(), path(u"01 - intro.mp3"_s));
        QCOMPARE(get<QLabel>(u"Label4"_s)->toolTip(), path(u"01 - intro.mp3"_s));
        QVERIFY(get<QLabel>(u"Label4"_s)->text().endsWith(u"intro.mp3"_s));
        QCOMPARE(field(u"LabeledEdit2"_s), u"Artist"_s);
        QCOMPARE(field(u"LabeledEdit5"_s), u"3"_s);
        doubleClick(u"02 Second.mp3"_s);
        QCOMPARE(field(u"LabeledEdit2"_s), QString());
        QCOMPARE(field(u"LabeledEdit5"_s), u"0"_s);
        for (const QString &name : m_original.keys())
            QCOMPARE(bytes(name), m_original[name]);

        // A file without a tag gets one with no genre; the comment keeps 28 characters, "abc" is track 99.
        set(u"LabeledEdit1"_s, u"Второй"_s);
        set(u"LabeledEdit2"_s, u"Зима"_s);
        set(u"LabeledEdit4"_s, u"Album"_s);
        set(u"LabeledEdit3"_s, u"2004"_s);
        set(u"LabeledEdit5"_s, u"abc"_s);
        set(u"LabeledEdit6"_s, u"123456789012345678901234567890"_s);
        click(u"Button1"_s);
        const QByteArray second = m_original[u"02 Second.mp3"_s];
        QCOMPARE(bytes(u"02 Second.mp3"_s),
                 second + tagImage("\xC2\xF2\xEE\xF0\xEE\xE9", "\xC7\xE8\xEC\xE0", "Album", "2004",
                                   "1234567890123456789012345678", 99, 255));
        // A tagged file keeps its genre, and everything before its tag.
        doubleClick(u"01 - intro.mp3"_s);
        set(u"LabeledEdit5"_s, u"300"_s);
        click(u"Button1"_s);
        const QByteArray intro = m_original[u"01 - intro.mp3"_s];
        QCOMPARE(bytes(u"01 - intro.mp3"_s),
                 intro.left(intro.size() - 128) + tagImage("?????????", "Artist", "", "", "", 44, 17));
        QVERIFY(m_w->W.Messages.Errors.isEmpty());
    }

    void folderWideChangeAndRemoval()
    {
        set(u"LabeledEdit2"_s, u"Зима"_s);
        set(u"LabeledEdit4"_s, u"A"_s);
        set(u"LabeledEdit3"_s, u"1999"_s);
        set(u"LabeledEdit6"_s, u"c"_s);
        set(u"LabeledEdit1"_s, u"ignored"_s);
        click(u"Button2"_s);
        QVERIFY(m_w->W.Messages.Errors.isEmpty());
        const QByteArray intro = m_original[u"01 - intro.mp3"_s];
        QCOMPARE(bytes(u"01 - intro.mp3"_s), intro.left(intro.size() - 128) + tagImage("intro", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 1, 17));
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s] + tagImage("Second", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 2, 255));
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s] + tagImage("Track", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 3, 255));
        QCOMPARE(field(u"LabeledEdit1"_s), u"Track"_s);
        QCOMPARE(field(u"LabeledEdit5"_s), u"3"_s);

        click(u"Button4"_s);
        QCOMPARE(bytes(u"01 - intro.mp3"_s), intro.left(intro.size() - 128));
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s]);
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s]);
    }

    void aFileThatCannotBeWrittenStopsTheFolder()
    {
        // The middle file is larger than this process may write: its write fails whoever runs the test.
        const qsizetype cap = qMax(m_original[u"01 - intro.mp3"_s].size(), m_original[u"Track.MP3"_s].size()) + 1024;
        put(u"02 Second.mp3"_s, QByteArray(cap, '\0'));
        get<TFileListBox>(u"FileListBox1"_s)->Update();
        set(u"LabeledEdit2"_s, u"X"_s);
        {
            FileSizeCap capped(rlim_t(cap - 64));
            click(u"Button2"_s);
        }
        QCOMPARE(m_w->W.Messages.Errors, QStringList{ u"Stream write error."_s });
        const QByteArray intro = m_original[u"01 - intro.mp3"_s];
        QCOMPARE(bytes(u"01 - intro.mp3"_s), intro.left(intro.size() - 128) + tagImage("intro", "X", "", "", "", 1, 17));
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s]);
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s]);
    }

    void handOverFromTheTree()
    {
        m_form->hide();
        TCatalogueTree &tree = m_w->W.Form->Tree();
        m_w->W.Form->TreeView()->Select(tree.Root(0)->Child(0));
        m_w->W.Find<QAction>(u"ID3tag2"_s)->trigger();
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->LoadedFile(), path(u"02 Second.mp3"_s));
        QCOMPARE(get<TFileListBox>(u"FileListBox1"_s)->SelectedName(), u"02 Second.mp3"_s);
        QCOMPARE(field(u"LabeledEdit5"_s), u"0"_s);
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s]);
        // A track whose file is missing fails the command.
        m_w->W.Form->TreeView()->Select(tree.Root(0)->Child(1));
        m_w->W.Find<QAction>(u"ID3tag2"_s)->trigger();
        QCOMPARE(m_w->W.Messages.Errors, QStringList{ u"Cannot open file "_s + m_w->Folder.Path(u"gone"_s) + u'.' });
        QCOMPARE(m_form->LoadedFile(), path(u"02 Second.mp3"_s));
    }
};

QTEST_MAIN(TestUnit8)
#include "test_Unit8.moc"
