// test_Unit2: the album builder dialog, driven through its controls on the main window's fakes.
#include "../app/MainWindowFixture.h"

#include "CatalogueTree.h"
#include "catalogue/CatalogueTestUtil.h"
#include "FileBrowser.h"
#include "OpenList.h"
#include "Unit2.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Ini = "ini: dark.ini\r\n"; // the last line of the open list

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList treeOf(TCatalogueTree &tree)
{
    QStringList out;
    for (int i = 0; i < tree.RootCount(); ++i) {
        out << tree.Root(i)->Text();
        for (int j = 0; j < tree.Root(i)->ChildCount(); ++j)
            out << u"  "_s + tree.Root(i)->Child(j)->Text();
    }
    return out;
}

} // namespace

class TestUnit2 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TProgramFolder> m_folder;
    std::unique_ptr<TWindowUnderTest> m_w;
    TForm2 *m_form = nullptr;

    template <class T> T *get(const QString &name)
    {
        T *c = m_form->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    void click(const QString &button) { get<QPushButton>(button)->click(); }
    void type(const QString &edit, const QString &text)
    {
        // keyClicks takes Latin-1 only; insert() is the editing path typing uses.
        get<QLineEdit>(edit)->clear();
        get<QLineEdit>(edit)->insert(text);
    }
    QString memo(const QString &name) { return get<QPlainTextEdit>(name)->toPlainText(); }
    void openFolder(const QString &folder) { get<TDirectoryListBox>(u"DirectoryListBox1"_s)->SetDirectory(folder); }
    QString native(const QString &name) const { return QDir::toNativeSeparators(m_folder->Path(name)); }

private slots:
    void init()
    {
        QCoreApplication::setApplicationName(u"Kestrune"_s);
        m_folder = std::make_unique<TProgramFolder>();
        m_folder->WriteLines(u"list.lst"_s, albumBlock(u"Old"_s, QString(), QString()) << u"ini: dark.ini"_s);
        m_folder->WriteBytes(u"music/02 Thaw.mp3"_s, readBytes(QStringLiteral(KS_TEST_DATA_DIR "/audio/corpus/vbri_V9_mpeg1.mp3")));
        m_folder->WriteBytes(u"music/01 First Snow.MP3"_s, {});
        m_folder->WriteBytes(u"music/cover.jpg"_s, {});
        m_folder->WriteBytes(u"music/notes.txt"_s, {});
        m_folder->WriteBytes(u"empty/readme.txt"_s, {});
        m_w = std::make_unique<TWindowUnderTest>();
        m_w->Create();
        QVERIFY(m_w->ShowAndLoad());
        m_form = m_w->Form->Form2();
        QVERIFY(m_form);
        m_form->ShowBuilder();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void cleanup()
    {
        m_w.reset();
        m_folder.reset();
    }

    void windowAndControls()
    {
        QCOMPARE(m_form->windowTitle(), u"Создание альбомов"_s);
        // At least the designed client area, never so small that a caption is cut.
        QVERIFY(m_form->width() >= 666 && m_form->height() >= 373);
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QString clipped;
        QVERIFY2(CaptionsFit(m_form, &clipped), qPrintable(clipped));
        QVERIFY(m_form->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!m_form->isModal());
        const QList<std::pair<const char *, const char16_t *>> buttons{
            { "Button1", u"..." },       { "Button10", u"..." },
            { "Button2", u"Создать" },   { "Button7", u"Добавить к текущему списку" },
            { "Button8", u"Сохранить в список" }, { "Button9", u"Добавить к списку" },
            { "Button6", u"Закрыть" },   { "Button5", u"Автоматическая генерация" },
            { "Button4", u"Добавить" },  { "Button3", u"Очистить" } };
        for (const auto &[name, caption] : buttons) {
            auto *b = get<QPushButton>(QString::fromLatin1(name));
            QCOMPARE(b->text(), QString::fromUtf16(caption));
            QVERIFY(m_form->rect().contains(b->geometry()));
        }
        for (int i = 1; i <= 9; ++i)
            QCOMPARE(get<QLineEdit>(u"Edit%1"_s.arg(i))->isReadOnly(), i == 7 || i == 9);
        for (const QString &name : { u"memo1"_s, u"memo2"_s }) {
            QVERIFY(get<QPlainTextEdit>(name)->isReadOnly());
            QCOMPARE(get<QPlainTextEdit>(name)->lineWrapMode(), QPlainTextEdit::NoWrap);
        }
        QStringList labels;
        for (QLabel *l : m_form->findChildren<QLabel *>())
            labels << l->text();
        for (const QString &text : { u"Название  альбома:"_s, u"Автор:"_s, u"URL:"_s, u"Описание альбома:"_s,
                                     u"Изображение:"_s, u"Название:"_s, u"Длительность:"_s, u"Файл:"_s,
                                     u"Файл описания:"_s })
            QVERIFY2(labels.contains(text), qPrintable(text));
        QVERIFY(get<TDriveComboBox>(u"DriveComboBox1"_s)->count() > 0);

        click(u"Button6"_s);
        QVERIFY(!m_form->isVisible());
        m_form->ShowBuilder();
        QVERIFY(m_form->isVisible());
    }

    void albumAddedToTheOpenListShowsInTheTree()
    {
        const QString listFile = m_w->Form->OpenList().ListFileName;
        const QByteArray before = readBytes(listFile);
        openFolder(m_folder->Path(u"music"_s));
        auto *files = get<TFileListBox>(u"FileListBox1"_s);
        QCOMPARE(files->Names(), (QStringList{ u"01 First Snow.MP3"_s, u"02 Thaw.mp3"_s }));

        // One track typed, its file picked in the list.
        files->SelectName(u"02 Thaw.mp3"_s);
        QCOMPARE(get<QLineEdit>(u"Edit7"_s)->text(), native(u"music/02 Thaw.mp3"_s));
        type(u"Edit5"_s, u"Оттепель"_s);
        type(u"Edit6"_s, u"04:05"_s);
        click(u"Button4"_s);
        // Then the whole folder, without a typed duration: each MP3 file's own play time. The typed
        // block stays and is counted.
        type(u"Edit6"_s, QString());
        click(u"Button5"_s);
        type(u"Edit1"_s, u"Зима"_s);
        type(u"Edit2"_s, u"Nord"_s);
        click(u"Button2"_s);
        QVERIFY(m_w->Messages.Messages.isEmpty());
        QVERIFY(memo(u"memo1"_s).startsWith(u"-newalbum\nauthor: Nord\nalbum: Зима\nurl: \ndiscriptionfile: \nnt: 3\n"_s));

        click(u"Button7"_s);
        QVERIFY(m_w->Messages.Errors.isEmpty());
        const QByteArray thaw = native(u"music/02 Thaw.mp3"_s).toUtf8();
        const QByteArray snow = native(u"music/01 First Snow.MP3"_s).toUtf8();
        // Before the settings line, which stays last.
        QCOMPARE(readBytes(listFile).split('\n'),
                 QByteArray(before.chopped(Ini.size()) +
                            "-newalbum\r\nauthor: Nord\r\nalbum: \xC7\xE8\xEC\xE0\r\nurl: \r\ndiscriptionfile: \r\n"
                          "nt: 3\r\nimage: \r\ntrack: \xCE\xF2\xF2\xE5\xEF\xE5\xEB\xFC\r\nsize: 04:05\r\nfile: " + thaw +
                     "\r\ndfile: \r\ntrack: 01 First Snow\r\nsize: 00:00\r\nfile: " + snow +
                     "\r\ndfile: \r\ntrack: 02 Thaw\r\nsize: 00:03\r\nfile: " + thaw +
                     "\r\ndfile: \r\n--endofalbum\r\n" + Ini).split('\n'));
        const QStringList expected{ u"Old"_s, u"Зима"_s, u"  Оттепель"_s, u"  01 First Snow"_s, u"  02 Thaw"_s };
        QCOMPARE(treeOf(m_w->Form->Tree()), expected);
        m_w->Form->LoadList(listFile);
        QCOMPARE(treeOf(m_w->Form->Tree()), expected);

        // "Очистить" empties the tracks only.
        click(u"Button3"_s);
        QCOMPARE(memo(u"memo2"_s), QString());
        QCOMPARE(get<QLineEdit>(u"Edit1"_s)->text(), u"Зима"_s);
        QVERIFY(memo(u"memo1"_s).startsWith(u"-newalbum"_s));
    }

    void composeMessagesLeaveTheAlbumText()
    {
        type(u"Edit1"_s, u"  "_s);
        click(u"Button2"_s);
        QCOMPARE(m_w->Messages.Messages, QStringList{ u"Введите название альбома."_s });

        // A folder without audio files adds nothing.
        openFolder(m_folder->Path(u"empty"_s));
        click(u"Button5"_s);
        QCOMPARE(memo(u"memo2"_s), QString());
        type(u"Edit1"_s, u" Live "_s);
        click(u"Button2"_s);
        QCOMPARE(m_w->Messages.Messages.last(), u"Альбом должен содержать хотя бы один звуковой файл."_s);
        QCOMPARE(memo(u"memo1"_s), QString());

        // "Добавить" without a file does nothing, even with a title.
        type(u"Edit5"_s, u"T"_s);
        click(u"Button4"_s);
        QCOMPARE(memo(u"memo2"_s), QString());

        openFolder(m_folder->Path(u"music"_s));
        click(u"Button5"_s);
        click(u"Button2"_s);
        QVERIFY(memo(u"memo1"_s).contains(u"album:  Live \nurl: "_s));
        const QString composed = memo(u"memo1"_s);
        click(u"Button3"_s);
        click(u"Button2"_s);
        QCOMPARE(m_w->Messages.Messages.size(), 3);
        QCOMPARE(memo(u"memo1"_s), composed);
        QVERIFY(m_w->Messages.Errors.isEmpty());
    }

    void saveAndAppendToListFiles()
    {
        openFolder(m_folder->Path(u"music"_s));
        click(u"Button5"_s);
        type(u"Edit1"_s, u"A"_s);
        click(u"Button2"_s);
        QString text = memo(u"memo1"_s) + u'\n';
        const QByteArray album = text.replace(u"\n"_s, u"\r\n"_s).toUtf8();

        m_w->FileDialogs.Cancel();
        click(u"Button8"_s);
        m_w->FileDialogs.Answer(m_folder->Path(u"new"_s));
        click(u"Button8"_s);
        QCOMPARE(m_w->FileDialogs.Requests.size(), 2);
        QCOMPARE(m_w->FileDialogs.Requests.at(1).Kind, u"save"_s);
        QCOMPARE(m_w->FileDialogs.Requests.at(1).Filter, u"Список|*.lst"_s);
        QCOMPARE(readBytes(m_folder->Path(u"new.lst"_s)), album);

        // A missing file is not created; an existing one gets the album before its settings line.
        m_w->FileDialogs.Answer(m_folder->Path(u"absent.lst"_s));
        click(u"Button9"_s);
        QVERIFY(!QFile::exists(m_folder->Path(u"absent.lst"_s)));
        const QByteArray list = readBytes(m_folder->Path(u"list.lst"_s));
        m_w->FileDialogs.Answer(m_folder->Path(u"list"_s));
        click(u"Button9"_s);
        QCOMPARE(readBytes(m_folder->Path(u"list.lst"_s)), list.chopped(Ini.size()) + album + Ini);
        QVERIFY(m_w->Messages.Errors.isEmpty());
        QVERIFY(m_w->Messages.Messages.isEmpty());
    }

    void theOpenListsOwnFileGoesThroughTheOpenList()
    {
        openFolder(m_folder->Path(u"music"_s));
        click(u"Button5"_s);
        type(u"Edit1"_s, u"New"_s);
        click(u"Button2"_s);
        const TOpenList &open = m_w->Form->OpenList();
        const QStringList old = open.ListLines;

        // Appended under another spelling of its name: the tree shows the album, and a later save of
        // the open list keeps it.
        QVERIFY(QDir().mkpath(m_folder->Path(u"sub"_s)));
        m_w->FileDialogs.Answer(m_folder->Path(u"sub/../list.lst"_s));
        click(u"Button9"_s);
        QCOMPARE(treeOf(m_w->Form->Tree()).filter(u"New"_s), QStringList{ u"New"_s });
        QCOMPARE(open.ListLines.mid(0, old.size() - 1), old.mid(0, old.size() - 1));
        QCOMPARE(open.ListLines.last(), old.last());
        QCOMPARE(readBytes(open.ListFileName), CatalogueTestUtil::listBytes(open.ListLines));
        click(u"Button7"_s);
        QCOMPARE(treeOf(m_w->Form->Tree()).filter(u"New"_s), (QStringList{ u"New"_s, u"New"_s }));
        QCOMPARE(readBytes(open.ListFileName), CatalogueTestUtil::listBytes(open.ListLines));

        // Saved as a new list over the open one, after a "Да": the open list is that album alone.
        m_w->FileDialogs.Answer(m_folder->Path(u"list.lst"_s));
        m_w->Messages.Answers << true;
        click(u"Button8"_s);
        QCOMPARE(m_w->Messages.Questions.size(), 1);
        QCOMPARE(treeOf(m_w->Form->Tree()).first(), u"New"_s);
        QCOMPARE(open.ListLines, memo(u"memo1"_s).split(u'\n'));
        QCOMPARE(readBytes(open.ListFileName), CatalogueTestUtil::listBytes(open.ListLines));
        QVERIFY(m_w->Messages.Errors.isEmpty());
    }

    void pickersApplyTheirExtensions()
    {
        auto *image = get<QLineEdit>(u"Edit9"_s);
        auto *description = get<QLineEdit>(u"Edit4"_s);
        m_w->FileDialogs.Answer(m_folder->Path(u"music/cover"_s), 2); // GIF entry: looks for .jpg
        click(u"Button10"_s);
        QCOMPARE(m_w->FileDialogs.Requests.at(0).Kind, u"picture"_s);
        QCOMPARE(m_w->FileDialogs.Requests.at(0).InitialFilter, 3);
        QCOMPARE(m_w->FileDialogs.Requests.at(0).Filter,
                 u"Изображения BMP|*.bmp|Изображения JPG|*.jpg|Изображения GIF|*.gif|"
                 u"Все поддерживаемые форматы|*.bmp;*.jpg;*.gif;*.png"_s);
        QCOMPARE(image->text(), m_folder->Path(u"music/cover.jpg"_s));
        m_w->FileDialogs.Answer(m_folder->Path(u"music/cover"_s), 0); // .bmp, absent: no change
        click(u"Button10"_s);
        QCOMPARE(image->text(), m_folder->Path(u"music/cover.jpg"_s));

        m_w->FileDialogs.Answer(m_folder->Path(u"music/notes"_s), 0); // notes.htm is absent
        click(u"Button1"_s);
        QCOMPARE(description->text(), QString());
        m_w->FileDialogs.Answer(m_folder->Path(u"music/notes"_s), 1);
        click(u"Button1"_s);
        QCOMPARE(m_w->FileDialogs.Requests.at(2).Kind, u"open"_s);
        QCOMPARE(m_w->FileDialogs.Requests.at(2).Filter, u"HTML|*.htm|TXT|*.txt"_s);
        QCOMPARE(description->text(), m_folder->Path(u"music/notes.txt"_s));
    }

    void failedWritesReachTheErrorHandler()
    {
        openFolder(m_folder->Path(u"music"_s));
        click(u"Button5"_s);
        type(u"Edit1"_s, u"A"_s);
        click(u"Button2"_s);

        TOpenList &open = m_w->Form->OpenList();
        const QString listFile = open.ListFileName;
        const QByteArray onDisk = readBytes(listFile);
        const QStringList lines = open.ListLines;
        const QStringList tree = treeOf(m_w->Form->Tree());
        const QString unwritable = m_folder->Path(u"no folder/list.lst"_s);
        open.ListFileName = unwritable;
        click(u"Button7"_s);
        QCOMPARE(m_w->Messages.Errors, QStringList{ u"Cannot create file "_s + unwritable + u'.' });
        QCOMPARE(open.ListLines, lines); // a retry does not add the album twice
        QCOMPARE(treeOf(m_w->Form->Tree()), tree);
        QCOMPARE(readBytes(listFile), onDisk);

        m_w->FileDialogs.Answer(m_folder->Path(u"no folder/new"_s));
        click(u"Button8"_s);
        QCOMPARE(m_w->Messages.Errors.size(), 2);
        QVERIFY(!QFile::exists(m_folder->Path(u"no folder"_s)));
        QVERIFY(m_w->Messages.Messages.isEmpty());
    }
};

QTEST_MAIN(TestUnit2)
#include "test_Unit2.moc"
