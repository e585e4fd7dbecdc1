// test_Unit8: the ID3 tag editor on real MP3 files: the last 128 bytes after each action, the bytes
// before them untouched (the ID3v2 tag aside, written as its fields say), what it refuses to write, a
// folder-wide action stopped by a file that cannot be written or by the user, the hand-over.
#include "../app/MainWindowFixture.h"

#include "CatalogueTree.h"
#include "FileBrowser.h"
#include "He1.h"
#include "ID3v2Tags.h"
#include "Unit8.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
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

// The bytes between a file's ID3v2 tag and its ID3v1 tag: the audio, which no action changes.
QByteArray audioOf(const QByteArray &file)
{
    const qint64 from = ID3v2Tags::ParseHeader(file).Size;
    return file.mid(from, file.size() - from - (file.right(128).startsWith("TAG") ? 128 : 0));
}

// The fields of a file's ID3v2 tag.
QStringList id3v2Of(const QByteArray &file)
{
    const TagEditing::TTagFields f = ID3v2Tags::ReadFields(file.left(ID3v2Tags::ParseHeader(file).Size));
    return { f.Title, f.Artist, f.Year, f.Album, f.Track, f.Comment };
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
        m_original.clear();
        m_w = std::make_unique<TWindowOnList>();
        const QString second = QDir::toNativeSeparators(m_w->Folder.Path(u"tags/02 Second.mp3"_s));
        QStringList list = albumBlock(u"A"_s, QString(), QString(),
                                      tracksNamed({ u"t"_s, u"gone"_s, u"tags/song.ogg"_s, u"tags/Track.MP3"_s }));
        list[9] = u"file: "_s + second;
        QVERIFY(m_w->Load(list));
        // An ID3v2 tag in front and an ID3v1 tag (genre 17) at the end; two files without tags.
        QByteArray tagged = readBytes(Data + u"id3v2_picture_vbr.mp3"_s);
        tagged[tagged.size() - 1] = char(17);
        put(u"01 - intro.mp3"_s, tagged);
        put(u"02 Second.mp3"_s, readBytes(Data + u"corpus/vbr_V7_22k_noxing.mp3"_s));
        put(u"Track.MP3"_s, readBytes(Data + u"corpus/vbr_V7_16k_noxing.mp3"_s));
        put(u"song.ogg"_s, readBytes(Data + u"corpus/vbr_V7_16k_noxing.mp3"_s));
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
        QVERIFY(get<QLabel>(u"Label4"_s)->text().endsWith(u"o.mp3"_s)); // the end of the path stays in sight
        // The ID3v2 tag's fields show, and that it is there: its title is in full Cyrillic, ID3v1's is "?????????".
        QCOMPARE(get<QLabel>(u"Label5"_s)->text(), u"+ ID3v2.3"_s);
        QCOMPARE(field(u"LabeledEdit1"_s), u"Заголовок"_s);
        QCOMPARE(field(u"LabeledEdit2"_s), u"Artist"_s);
        QCOMPARE(field(u"LabeledEdit5"_s), u"3"_s);
        doubleClick(u"02 Second.mp3"_s);
        QCOMPARE(get<QLabel>(u"Label5"_s)->text(), QString());
        QCOMPARE(field(u"LabeledEdit2"_s), QString());
        QCOMPARE(field(u"LabeledEdit5"_s), u"0"_s);
        for (const QString &name : m_original.keys())
            QCOMPARE(bytes(name), m_original[name]);

        // A file without a tag gets one with no genre; "abc" is track 99.
        set(u"LabeledEdit1"_s, u"Второй"_s);
        set(u"LabeledEdit2"_s, u"Зима"_s);
        set(u"LabeledEdit4"_s, u"Album"_s);
        set(u"LabeledEdit3"_s, u"2004"_s);
        set(u"LabeledEdit5"_s, u"abc"_s);
        set(u"LabeledEdit6"_s, u"1234567890123456789012345678"_s);
        click(u"Button1"_s);
        const QByteArray second = m_original[u"02 Second.mp3"_s];
        QCOMPARE(bytes(u"02 Second.mp3"_s),
                 second + tagImage("\xC2\xF2\xEE\xF0\xEE\xE9", "\xC7\xE8\xEC\xE0", "Album", "2004",
                                   "1234567890123456789012345678", 99, 255));
        // A tagged file keeps its genre and its audio; its ID3v2 tag takes the number too, and ID3v1 gets
        // the title ID3v2 showed.
        doubleClick(u"01 - intro.mp3"_s);
        set(u"LabeledEdit5"_s, u"300"_s);
        click(u"Button1"_s);
        const QByteArray intro = m_original[u"01 - intro.mp3"_s];
        QCOMPARE(audioOf(bytes(u"01 - intro.mp3"_s)), audioOf(intro));
        QCOMPARE(bytes(u"01 - intro.mp3"_s).right(128),
                 tagImage("\xC7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA", "Artist", "", "", "", 44, 17));
        QCOMPARE(id3v2Of(bytes(u"01 - intro.mp3"_s)),
                 (QStringList{ u"Заголовок"_s, u"Artist"_s, QString(), QString(), u"300"_s, QString() }));
        QVERIFY(m_w->W.Messages.Errors.isEmpty());
        QVERIFY(m_w->W.Messages.Messages.isEmpty());
    }

    // After any action the fields show the loaded file's tag, so that "Запомнить" writes what it shows into
    // the file it names; a refused action writes nothing anywhere. A file with an ID3v2 tag takes any text
    // there, and the user is told what its ID3v1 tag holds instead.
    void refusalsAndTheLoadedFile_data()
    {
        QTest::addColumn<QString>("loaded");     // the file loaded, a copy of this one from another folder
        QTest::addColumn<QString>("folderFile"); // a folder-wide action on the folder with this file added
        QTest::addColumn<QStringList>("typed");  // title, artist, track, comment
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<bool>("written");
        const QString c30 = u"123456789012345678901234567890"_s, v1 = u"02 Second.mp3"_s, v2 = u"01 - intro.mp3"_s;
        const QString none;
        QTest::newRow("Cyrillic fits") << v1 << none << QStringList{ u"Зимняя ночь"_s, u"Ёлка"_s, u"5"_s, u"ъ"_s }
                                       << QStringList() << true;
        QTest::newRow("Motörhead") << v1 << none << QStringList{ u"Ace"_s, u"Motörhead"_s, u"5"_s, none }
                                   << QStringList{ u"Поле «Автор»: символы «ö» (U+00F6)"_s, u"Ничего не записано."_s } << false;
        QTest::newRow("Japanese") << v1 << none << QStringList{ u"夜に駆ける"_s, u"A"_s, u"5"_s, none }
                                  << QStringList{ u"Поле «Название»: символы «夜に駆ける»"_s } << false;
        QTest::newRow("too long beside a number") << v1 << none << QStringList{ u"T"_s, u"A"_s, u"5"_s, c30 }
                                                  << QStringList{ u"«Комментарий» вмещает не больше 28"_s } << false;
        QTest::newRow("30 without a number") << v1 << none << QStringList{ u"T"_s, u"A"_s, u"0"_s, c30 } << QStringList()
                                             << true;
        QTest::newRow("into ID3v2")
            << v2 << none << QStringList{ u"夜に駆ける"_s, u"Motörhead"_s, u"5/12"_s, c30 + u"!"_s }
            << QStringList{ u"в нём записано: «Название» — «?????»; «Автор» — «Motorhead»."_s } << true;
        QTest::newRow("a name that does not fit")
            << v1 << u"03 日本.mp3"_s << QStringList{ none, u"A"_s, none, none }
            << QStringList{ u"«03 日本.mp3»: символы «日本»"_s, u"Ни один файл не изменён."_s } << false;
        QTest::newRow("a shared field that a file without ID3v2 cannot hold")
            << v2 << u"04 Ночь.mp3"_s << QStringList{ none, u"Motörhead"_s, none, none }
            << QStringList{ u"Файл «02 Second.mp3» (тега ID3v2 в нём нет): Поле «Автор»"_s } << false;
        QTest::newRow("a folder elsewhere")
            << v1 << u"04 Ночь.mp3"_s << QStringList{ none, u"Зима"_s, none, none } << QStringList() << true;
    }
    void refusalsAndTheLoadedFile()
    {
        QFETCH(QString, loaded);
        QFETCH(QString, folderFile);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, said);
        QFETCH(bool, written);
        const QByteArray original = m_original[loaded];
        const QString path = m_w->Folder.WriteBytes(u"other/04 Other.mp3"_s, original);
        m_form->OpenFile(path);
        if (!folderFile.isEmpty())
            put(folderFile, m_original[u"02 Second.mp3"_s]);
        get<TDirectoryListBox>(u"DirectoryListBox1"_s)->SetDirectory(m_w->Folder.Path(u"tags"_s));
        const QStringList edits{ u"LabeledEdit1"_s, u"LabeledEdit2"_s, u"LabeledEdit5"_s, u"LabeledEdit6"_s };
        for (int i = 0; i < 4; ++i)
            set(edits[i], typed[i]);
        click(folderFile.isEmpty() ? u"Button1"_s : u"Button2"_s);

        QVERIFY(m_w->W.Messages.Errors.isEmpty());
        QCOMPARE(m_w->W.Messages.Messages.size(), said.isEmpty() ? 0 : 1);
        for (const QString &part : said)
            QVERIFY2(m_w->W.Messages.Messages[0].contains(part), qPrintable(m_w->W.Messages.Messages[0]));
        for (const QString &name : m_original.keys())
            QVERIFY(written || bytes(name) == m_original[name]);
        QVERIFY((written && folderFile.isEmpty()) || readBytes(path) == original);
        const TagEditing::TTagFields own = TagEditing::LoadFields(path);
        const QStringList ownFields{ own.Title, own.Artist, own.Track, own.Comment };
        for (int i = 0; i < 4 && written; ++i)
            QCOMPARE(field(edits[i]), ownFields[i]);
        if (written && folderFile.isEmpty())
            QCOMPARE(ownFields, typed);
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
        const QByteArray changed = bytes(u"01 - intro.mp3"_s);
        QCOMPARE(audioOf(changed), audioOf(intro));
        QCOMPARE(changed.right(128), tagImage("intro", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 1, 17));
        QCOMPARE(id3v2Of(changed), (QStringList{ u"intro"_s, u"Зима"_s, u"1999"_s, u"A"_s, u"01"_s, u"c"_s }));
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s] + tagImage("Second", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 2, 255));
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s] + tagImage("Track", "\xC7\xE8\xEC\xE0", "A", "1999", "c", 3, 255));
        QCOMPARE(field(u"LabeledEdit1"_s), u"Track"_s);
        QCOMPARE(field(u"LabeledEdit5"_s), u"3"_s);

        // The ID3v1 tags go; ID3v2 stays.
        click(u"Button4"_s);
        QCOMPARE(bytes(u"01 - intro.mp3"_s), changed.left(changed.size() - 128));
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
        QCOMPARE(bytes(u"01 - intro.mp3"_s).right(128), tagImage("intro", "X", "", "", "", 1, 17));
        QCOMPARE(id3v2Of(bytes(u"01 - intro.mp3"_s)).mid(0, 2), (QStringList{ u"intro"_s, u"X"_s }));
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s]);
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s]);
    }

    // A folder-wide action shows its progress and handles events between files: a click on "Стоп" there
    // ends it before the next file, which keeps its tag as it was, like every file after it.
    void stopBetweenFiles_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("told");
        QTest::newRow("change") << u"Button2"_s << u"Остановлено после 1 из 3 файлов: их теги изменены"_s;
        QTest::newRow("remove") << u"Button4"_s << u"Остановлено после 1 из 3 файлов: из них тег ID3v1 удалён"_s;
    }
    void stopBetweenFiles()
    {
        QFETCH(QString, button);
        QFETCH(QString, told);
        if (button == u"Button4"_s) {
            click(u"Button2"_s); // every file now has an ID3v1 tag to lose
            for (const QString &name : m_original.keys())
                m_original[name] = bytes(name);
        }
        set(u"LabeledEdit2"_s, u"Стоп"_s);
        auto *progress = get<QProgressBar>(u"ProgressBar1"_s);
        QStringList seen; // while it runs: the bar, the button's caption, whether "Запомнить" is enabled
        const auto stopper = connect(progress, &QProgressBar::valueChanged, m_form, [&](int done) {
            if (done != 1)
                return;
            seen << progress->text() << get<QPushButton>(button)->text()
                 << QString::number(get<QPushButton>(u"Button1"_s)->isEnabled());
            QTimer::singleShot(0, m_form, [&] { click(button); });
        });
        const QString caption = get<QPushButton>(button)->text();
        click(button);
        disconnect(stopper);

        QCOMPARE(seen, (QStringList{ u"1 из 3"_s, u"Стоп"_s, u"0"_s }));
        QCOMPARE(m_w->W.Messages.Messages.size(), 1);
        QVERIFY2(m_w->W.Messages.Messages[0].startsWith(told), qPrintable(m_w->W.Messages.Messages[0]));
        QVERIFY(bytes(u"01 - intro.mp3"_s) != m_original[u"01 - intro.mp3"_s]);
        QCOMPARE(bytes(u"02 Second.mp3"_s), m_original[u"02 Second.mp3"_s]);
        QCOMPARE(bytes(u"Track.MP3"_s), m_original[u"Track.MP3"_s]);
        QVERIFY(progress->isHidden());
        QCOMPARE(get<QPushButton>(button)->text(), caption);
        QVERIFY(get<QPushButton>(u"Button1"_s)->isEnabled() && get<QLineEdit>(u"LabeledEdit2"_s)->isEnabled());
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
        // A file that is no MP3 is not loaded, and the user is told why; the extension may be in capitals.
        m_form->hide();
        m_w->W.Form->TreeView()->Select(tree.Root(0)->Child(2));
        m_w->W.Find<QAction>(u"ID3tag2"_s)->trigger();
        QCOMPARE(m_w->W.Messages.Messages,
                 QStringList{ u"«song.ogg» не файл MP3: редактор ID3 тегов открывает только файлы *.mp3."_s });
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->LoadedFile(), path(u"02 Second.mp3"_s));
        m_w->W.Form->TreeView()->Select(tree.Root(0)->Child(3));
        m_w->W.Find<QAction>(u"ID3tag2"_s)->trigger();
        QCOMPARE(m_form->LoadedFile(), path(u"Track.MP3"_s));
    }
};

QTEST_MAIN(TestUnit8)
#include "test_Unit8.moc"
