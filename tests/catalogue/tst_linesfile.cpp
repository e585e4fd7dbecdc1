// Tests of line splitting, the file encodings, safe saves and the stored-path rules.
#include "CatalogueTestUtil.h"
#include "KsError.h"
#include "LinesFile.h"
#include "OpenList.h"
#include "Paths.h"
#include "TextCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace CatalogueTestUtil;

class TestLinesFile : public QObject
{
    Q_OBJECT
private slots:
    void splitLines_data();
    void splitLines();
    void joinEndsEveryLineWithCrLf();
    void nulByteKeepsTheRestOfTheList();
    void cp1251ListStaysByteIdentical();
    void utf8WithBomReadAndWrittenBack();
    void markBeforeInvalidUtf8KeepsEveryByte();
    void listThatFits1251IsWrittenWithoutMark();
    void utf8WithoutMarkComesBackAsItCame();
    void cp1251BytesThatReadAsUtf8();
    void every1251ByteRoundTrips();
    void saveIntoMissingFolderFails();
    void saveOverFolderFails();
    void missingFileAndFolderCannotBeOpened();
    void resolve_data();
    void resolve();
    void backslashesAreSeparatorsOnTheFileSystem();
    void folderOf_data();
    void folderOf();
    void sortedNamesKeepTheListOrder();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestLinesFile::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << u"a\r\nb\r\n"_s << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("no final break") << u"a\r\nb"_s << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("lf only") << u"a\nb\n"_s << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("cr only") << u"a\rb\r"_s << QStringList { u"a"_s, u"b"_s };
    QTest::newRow("mixed") << u"a\rb\nc\r\nd"_s << QStringList { u"a"_s, u"b"_s, u"c"_s, u"d"_s };
    QTest::newRow("lf cr is two breaks") << u"a\n\rb"_s << QStringList { u"a"_s, QString(), u"b"_s };
    QTest::newRow("inner empty lines count")
        << u"a\r\n\r\n\r\nb\r\n"_s << QStringList { u"a"_s, QString(), QString(), u"b"_s };
    QTest::newRow("leading empty line") << u"\r\na"_s << QStringList { QString(), u"a"_s };
    QTest::newRow("only a break") << u"\r\n"_s << QStringList { QString() };
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("blanks are kept") << u" a \t\r\n"_s << QStringList { u" a \t"_s };
}

void TestLinesFile::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(LinesFile::splitLines(text), lines);
}

void TestLinesFile::joinEndsEveryLineWithCrLf()
{
    QCOMPARE(LinesFile::joinLines({ u"a"_s, QString(), u"b"_s }), u"a\r\n\r\nb\r\n"_s);
    QCOMPARE(LinesFile::joinLines({}), QString());
}

// A NUL byte is an ordinary character: the lines after it load, and a save keeps them.
void TestLinesFile::nulByteKeepsTheRestOfTheList()
{
    const QByteArray bytes = QByteArray("first\r\nbe", 9) + '\0' + QByteArray("fore\r\nafter\r\n");
    writeBytes(path(u"nul.lst"_s), bytes);
    const QStringList lines = LinesFile::readLines(path(u"nul.lst"_s));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(1), u"be"_s + QChar(0) + u"fore"_s);
    QCOMPARE(lines.at(2), u"after"_s);
    LinesFile::writeLines(path(u"nul-out.lst"_s), lines);
    QCOMPARE(readBytes(path(u"nul-out.lst"_s)), bytes);
}

void TestLinesFile::cp1251ListStaysByteIdentical()
{
    const QString source = QStringLiteral(KS_TEST_DATA_DIR "/catalogue/russian1251.lst");
    const QStringList lines = LinesFile::readLines(source);
    QCOMPARE(lines.at(1), u"author: Кино"_s);
    QVERIFY(lines.contains(u"заметка: ёЁ №"_s));
    LinesFile::writeLines(path(u"ru.lst"_s), lines);
    QCOMPARE(readBytes(path(u"ru.lst"_s)), readBytes(source));
}

void TestLinesFile::utf8WithBomReadAndWrittenBack()
{
    const QString source = QStringLiteral(KS_TEST_DATA_DIR "/catalogue/utf8bom.lst");
    const QStringList lines = LinesFile::readLines(source);
    QCOMPARE(lines.at(1), u"author: Björk"_s); // ö and ó fit neither byte nor name
    QVERIFY(lines.contains(u"author: Motörhead"_s));
    QVERIFY(lines.contains(u"album: Звезда"_s));
    QVERIFY(!lines.first().startsWith(QChar(0xFEFF))); // the mark is no character of the text
    LinesFile::writeLines(path(u"bom.lst"_s), lines);
    const QByteArray written = readBytes(path(u"bom.lst"_s));
    QVERIFY(written.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(written, readBytes(source));
    QCOMPARE(LinesFile::readLines(path(u"bom.lst"_s)), lines);
}

void TestLinesFile::markBeforeInvalidUtf8KeepsEveryByte()
{
    // A cp1251 album pasted into a marked UTF-8 list: the mark is no text, each line reads in its own
    // encoding, and a save gives every line that was not edited its own bytes back.
    const QByteArray utf8Album = u"album: Björk"_s.toUtf8();
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + "-newalbum\r\nalbum: \xC7\xE2\xE5\xE7\xE4\xE0\r\n" + utf8Album
        + "\r\nauthor: \xCA\xE8\xED\xEE\r\n" + u"author: Кино"_s.toUtf8() + "\r\n";
    writeBytes(path(u"mixed.lst"_s), bytes);
    LinesFile::TLinesText text = LinesFile::readFile(path(u"mixed.lst"_s));
    QCOMPARE(text.Lines, (QStringList{ u"-newalbum"_s, u"album: Звезда"_s, u"album: Björk"_s, u"author: Кино"_s,
                                       u"author: Кино"_s }));
    LinesFile::writeFile(path(u"mixed-out.lst"_s), text.Lines, text.Encoding);
    QCOMPARE(readBytes(path(u"mixed-out.lst"_s)), bytes);

    // An edit outside code page 1251 is written as UTF-8; the other lines keep their bytes, the same
    // text in both encodings included.
    QStringList edited = text.Lines;
    edited[2] = u"album: Motörhead"_s;
    LinesFile::writeFile(path(u"mixed-out.lst"_s), edited, text.Encoding);
    QByteArray expected = bytes;
    expected.replace(utf8Album, u"album: Motörhead"_s.toUtf8());
    QCOMPARE(readBytes(path(u"mixed-out.lst"_s)), expected);
    QCOMPARE(LinesFile::readLines(path(u"mixed-out.lst"_s)), edited);

    // A second mark is text, and a save keeps it.
    const QByteArray twice = "\xEF\xBB\xBF\xEF\xBB\xBF-newalbum\r\n";
    writeBytes(path(u"twice.lst"_s), twice);
    text = LinesFile::readFile(path(u"twice.lst"_s));
    QCOMPARE(text.Lines, QStringList{ QChar(0xFEFF) + u"-newalbum"_s });
    LinesFile::writeFile(path(u"twice-out.lst"_s), text.Lines, text.Encoding);
    QCOMPARE(readBytes(path(u"twice-out.lst"_s)), twice);

    // A line that starts with the mark's bytes in a code page 1251 list, moved to the top by an edit,
    // or a UTF-8 line starting with U+FEFF: written behind a real mark, so that they read back whole.
    for (const QByteArray &file : { QByteArray("\xCA\xE8\xED\xEE\r\n\xEF\xBB\xBF-newalbum\r\n"),
                                    QByteArray("\xD0\x9A\xD0\xB8\r\n\xEF\xBB\xBF-newalbum\r\n") }) {
        writeBytes(path(u"inner.lst"_s), file);
        text = LinesFile::readFile(path(u"inner.lst"_s));
        const QStringList rest = text.Lines.mid(1);
        LinesFile::writeFile(path(u"inner-out.lst"_s), rest, text.Encoding);
        QCOMPARE(LinesFile::readLines(path(u"inner-out.lst"_s)), rest);
    }
}

void TestLinesFile::listThatFits1251IsWrittenWithoutMark()
{
    // Read as UTF-8, but every character fits code page 1251: written as plain code page 1251.
    writeBytes(path(u"fits.lst"_s), "\xEF\xBB\xBF" + u"album: Ёлка"_s.toUtf8() + "\r\n");
    TOpenList list;
    list.ListLines = LinesFile::readLines(path(u"fits.lst"_s));
    list.SaveTo(path(u"fits-out.lst"_s));
    QCOMPARE(readBytes(path(u"fits-out.lst"_s)), QByteArray("album: \xA8\xEB\xEA\xE0\r\n"));
}

// What Linux editors write: UTF-8 without the mark. Read as UTF-8, written back the same way, edits
// included; code page 1251 stays code page 1251.
void TestLinesFile::utf8WithoutMarkComesBackAsItCame()
{
    const QByteArray utf8 = u"album: Зима\r\nauthor: Björk\r\n"_s.toUtf8();
    writeBytes(path(u"plain-utf8.lst"_s), utf8);
    LinesFile::TLinesText text = LinesFile::readFile(path(u"plain-utf8.lst"_s));
    QCOMPARE(text.Lines, (QStringList{ u"album: Зима"_s, u"author: Björk"_s }));
    QVERIFY(text.Encoding.Utf8 && !text.Encoding.Mark);
    LinesFile::writeFile(path(u"plain-out.lst"_s), text.Lines, text.Encoding);
    QCOMPARE(readBytes(path(u"plain-out.lst"_s)), utf8);
    text.Lines[1] = u"author: Кино"_s; // fits code page 1251, yet the file stays UTF-8
    LinesFile::writeFile(path(u"plain-out.lst"_s), text.Lines, text.Encoding);
    QCOMPARE(readBytes(path(u"plain-out.lst"_s)), u"album: Зима\r\nauthor: Кино\r\n"_s.toUtf8());

    // Code page 1251 Russian is not valid UTF-8, and plain ASCII is read as code page 1251.
    for (const QByteArray &bytes : { QByteArray("album: \xC7\xE8\xEC\xE0\r\n"), QByteArray("album: Winter\r\n") }) {
        writeBytes(path(u"cp.lst"_s), bytes);
        text = LinesFile::readFile(path(u"cp.lst"_s));
        QVERIFY(!text.Encoding.Utf8);
        LinesFile::writeFile(path(u"cp-out.lst"_s), text.Lines, text.Encoding);
        QCOMPARE(readBytes(path(u"cp-out.lst"_s)), bytes);
    }
}

// A code page 1251 save whose bytes are all valid UTF-8 ("Ж…" is C6 85, "Рё" D0 B8) would be read back
// as other text: it is written as UTF-8 with the mark. One line that is not UTF-8 keeps code page 1251.
void TestLinesFile::cp1251BytesThatReadAsUtf8()
{
    for (const QStringList &lines : { QStringList { u"-newalbum"_s, u"album: Ж…"_s, u"file: C:\\Рё.mp3"_s },
             QStringList { u"album: Ж…"_s, u"author: Кино"_s }, QStringList { u"album: Winter"_s } }) {
        LinesFile::writeLines(path(u"as-utf8.lst"_s), lines);
        QCOMPARE(readBytes(path(u"as-utf8.lst"_s)).startsWith("\xEF\xBB\xBF"), lines.size() == 3);
        QCOMPARE(LinesFile::readLines(path(u"as-utf8.lst"_s)), lines);
    }
}

void TestLinesFile::every1251ByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all += char(b);
    // A leading BOM would change the reading, so start with a letter.
    const QByteArray bytes = "x" + all + "\r\n";
    writeBytes(path(u"all.lst"_s), bytes);
    const QStringList lines = LinesFile::readLines(path(u"all.lst"_s));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().size(), all.size() + 1);
    LinesFile::writeLines(path(u"all-out.lst"_s), lines);
    QCOMPARE(readBytes(path(u"all-out.lst"_s)), bytes);
}

void TestLinesFile::saveIntoMissingFolderFails()
{
    TOpenList list;
    list.ListLines = QStringList { u"a"_s };
    const QString target = path(u"no-such-folder/list.lst"_s);
    try {
        list.SaveTo(target);
        QFAIL("the save reported success");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"Cannot create file "_s + target);
    }
    QVERIFY(!QFileInfo::exists(path(u"no-such-folder"_s)));
}

void TestLinesFile::saveOverFolderFails()
{
    QVERIFY(QDir(m_dir.path()).mkpath(u"taken.lst"_s));
    TOpenList list;
    list.ListLines = QStringList { u"a"_s };
    list.ListFileName = path(u"taken.lst"_s);
    QVERIFY_THROWS_EXCEPTION(KsError, list.SaveTo(list.ListFileName));
    QVERIFY(QFileInfo(path(u"taken.lst"_s)).isDir());
}

void TestLinesFile::missingFileAndFolderCannotBeOpened()
{
    const QString missing = path(u"missing.lst"_s);
    try {
        LinesFile::readLines(missing);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"Cannot open file "_s + missing);
    }
    QVERIFY_THROWS_EXCEPTION(KsError, LinesFile::readLines(m_dir.path()));
}

void TestLinesFile::resolve_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    const QString pf = u"/opt/ks/"_s;
    QTest::newRow("relative gets the folder") << u"notes\\winter.htm"_s << pf + u"notes\\winter.htm"_s;
    QTest::newRow("dot-dot is not special") << u"..\\music\\a.mp3"_s << pf + u"..\\music\\a.mp3"_s;
    QTest::newRow("drive path as written") << u"D:\\music\\a.mp3"_s << u"D:\\music\\a.mp3"_s;
    QTest::newRow(":\\ anywhere") << u"x C:\\a"_s << u"x C:\\a"_s;
    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("drive without backslash is relative") << u"C:a.mp3"_s << pf + u"C:a.mp3"_s;
    QTest::newRow("url-like is relative") << u"http://x/a"_s << pf + u"http://x/a"_s;
}

void TestLinesFile::resolve()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(Paths::resolve(stored, u"/opt/ks/"_s), expected);
}

void TestLinesFile::backslashesAreSeparatorsOnTheFileSystem()
{
    if (Paths::separator() != u'/')
        QSKIP("Linux path rules");
    QVERIFY(Paths::isAbsolute(u"/srv/music/a.mp3"_s));
    QCOMPARE(Paths::resolve(u"/srv/music/a.mp3"_s, u"/opt/ks/"_s), u"/srv/music/a.mp3"_s);
    QVERIFY(QDir(m_dir.path()).mkpath(u"Music/Winter"_s));
    writeBytes(path(u"Music/Winter/02 Thaw.mp3"_s), "ID3");
    const QString stored = u"Music\\Winter\\02 Thaw.mp3"_s;
    const QString resolved = Paths::resolve(stored, m_dir.path() + u'/');
    QCOMPARE(resolved, m_dir.path() + u"/Music\\Winter\\02 Thaw.mp3"_s); // the text is not rewritten
    QVERIFY(Paths::fileExists(resolved));
    QVERIFY(!Paths::fileExists(m_dir.path() + u"/Music\\Winter"_s)); // a folder is no file
    QCOMPARE(LinesFile::readLines(resolved), QStringList { u"ID3"_s });
}

void TestLinesFile::folderOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("windows") << u"D:\\Lists\\jazz.lst"_s << u"D:\\Lists\\"_s;
    QTest::newRow("unix") << u"/home/u/jazz.lst"_s << u"/home/u/"_s;
    QTest::newRow("bare name") << u"jazz.lst"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestLinesFile::folderOf()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(Paths::folderOf(path), folder);
}

void TestLinesFile::sortedNamesKeepTheListOrder()
{
    // The folded keys give the order of the comparison they stand for: case pairs, Cyrillic, characters
    // whose full folding differs from the simple one (ß, ΐ), surrogate pairs (Deseret), equal keys.
    QStringList names{ u"b.mp3"_s,  u"B.mp3"_s,  u"a.MP3"_s,  u"Ёлка"_s,   u"ёлка"_s,   u"Жук"_s, u"жук"_s,
                       u"straße"_s, u"STRASSE"_s, u"strasse"_s, u"ΐ"_s,      u"Ϊ́"_s,    u"𐐀x"_s,  u"𐐨x"_s,
                       u"𐐀"_s,     u"_"_s,      u"10.mp3"_s, u"9.mp3"_s, u""_s,     u"a"_s,   u"A"_s };
    for (int round = 0; round < 20; ++round) {
        std::shuffle(names.begin(), names.end(), *QRandomGenerator::global());
        QStringList expected = names;
        std::stable_sort(expected.begin(), expected.end(), Paths::NameLess);
        QStringList sorted = names;
        Paths::SortNames(sorted);
        QCOMPARE(sorted, expected);
    }
}

QTEST_GUILESS_MAIN(TestLinesFile)
#include "tst_linesfile.moc"
