// Tests of the text routines: position search, trimming, CutSubstring, ExtractBetween, StripDelimited, StrToInt.
#include "KsError.h"
#include "language.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void pos_data();
    void pos();
    void trim_data();
    void trim();
    void cutSubstring_data();
    void cutSubstring();
    void extractBetween_data();
    void extractBetween();
    void stripDelimited_data();
    void stripDelimited();
    void stripDelimitedAsRepeatedSearches();
    void strToInt_data();
    void strToInt();
    void strToIntRejects_data();
    void strToIntRejects();
};

void TestLanguage::pos_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("expected");
    QTest::newRow("first char") << u"a"_s << u"abc"_s << qsizetype(1);
    QTest::newRow("first of two") << u"b"_s << u"abcb"_s << qsizetype(2);
    QTest::newRow("absent") << u"x"_s << u"abc"_s << qsizetype(0);
    QTest::newRow("empty needle") << QString() << u"abc"_s << qsizetype(0);
    QTest::newRow("empty text") << u"a"_s << QString() << qsizetype(0);
    QTest::newRow("case sensitive") << u"A"_s << u"abc"_s << qsizetype(0);
    QTest::newRow("cyrillic") << u"ок"_s << u"Рок"_s << qsizetype(2);
    QTest::newRow("needle longer than text") << u"abcd"_s << u"abc"_s << qsizetype(0);
}

void TestLanguage::pos()
{
    QFETCH(QString, needle);
    QFETCH(QString, text);
    QFETCH(qsizetype, expected);
    QCOMPARE(language::Pos(needle, text), expected);
}

void TestLanguage::trim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blanks and tabs only") << u" \t \t "_s << QString();
    QTest::newRow("both ends") << u"\t x y \r\n"_s << u"x y"_s;
    QTest::newRow("all controls 0..32") << QString(QChar(0)) + u"\x01\x1f x "_s + QChar(32) << u"x"_s;
    QTest::newRow("code 33 kept") << u"!x!"_s << u"!x!"_s;
    QTest::newRow("non-breaking space kept") << u"\u00a0x"_s << u"\u00a0x"_s;
    QTest::newRow("inner blanks kept") << u"a  b"_s << u"a  b"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestLanguage::trim()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(language::Trim(text), expected);
}

void TestLanguage::cutSubstring_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("key present, blank stays") << u"album: Winter"_s << u"album:"_s << u" Winter"_s;
    QTest::newRow("absent key drops len-1 chars") << u"file: C:\\a.mp3"_s << u"track:"_s << u" C:\\a.mp3"_s;
    QTest::newRow("absent by case") << u"Song.MP3"_s << u".mp3"_s << u"g.MP3"_s;
    QTest::newRow("only first occurrence") << u"nt:nt:5"_s << u"nt:"_s << u"nt:5"_s;
    QTest::newRow("key in the middle") << u"a nt: 2"_s << u"nt:"_s << u"a  2"_s;
    QTest::newRow("key of length 1 absent") << u"abc"_s << u"x"_s << u"abc"_s;
    QTest::newRow("empty key") << u"abc"_s << QString() << u"abc"_s;
    QTest::newRow("absent key longer than text") << u"ab"_s << u"track:"_s << QString();
    QTest::newRow("whole text is key") << u"dfile:"_s << u"dfile:"_s << QString();
    QTest::newRow("empty text") << QString() << u"nt:"_s << QString();
}

void TestLanguage::cutSubstring()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(language::CutSubstring(text, key), expected);
}

void TestLanguage::extractBetween_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both present") << u"{"_s << u"}"_s << u"Рок {C:\\rock.lst}"_s << u"C:\\rock.lst"_s;
    QTest::newRow("no closing: last char dropped") << u"{"_s << u"}"_s << u"Рок {C:\\rock.lst"_s << u"C:\\rock.ls"_s;
    QTest::newRow("both absent") << u"{"_s << u"}"_s << u"abc"_s << QString();
    QTest::newRow("opening absent") << u"{"_s << u"}"_s << u"abc}def"_s << u"abc"_s;
    QTest::newRow("closing before opening") << u"{"_s << u"}"_s << u"ab}c{d"_s << u"b"_s;
    QTest::newRow("longer opening keeps its tail") << u" {"_s << u"}"_s << u"x {y}"_s << u"{y"_s;
    QTest::newRow("adjacent delimiters") << u"{"_s << u"}"_s << u"a{}b"_s << QString();
    QTest::newRow("opening is last char") << u"{"_s << u"}"_s << u"ab{"_s << QString();
    QTest::newRow("empty text") << u"{"_s << u"}"_s << QString() << QString();
}

void TestLanguage::extractBetween()
{
    QFETCH(QString, open);
    QFETCH(QString, close);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(language::ExtractBetween(open, close, text), expected);
}

void TestLanguage::stripDelimited_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("entry name keeps blank") << u"{"_s << u"}"_s << u"Рок {C:\\rock.lst}"_s << u"Рок "_s;
    QTest::newRow("blank-brace opening") << u" {"_s << u"}"_s << u"Рок {C:\\rock.lst}"_s << u"Рок"_s;
    QTest::newRow("two sections") << u"{"_s << u"}"_s << u"a{b}c{d}e"_s << u"ace"_s;
    QTest::newRow("closing before opening") << u"{"_s << u"}"_s << u"a}b{c"_s << u"b"_s;
    QTest::newRow("unclosed removes to end") << u"{"_s << u"}"_s << u"ab{cd"_s << u"ab"_s;
    QTest::newRow("no opening, one closing pass") << u"{"_s << u"}"_s << u"ab}cd}e"_s << u"cd}e"_s;
    QTest::newRow("no delimiters") << u"{"_s << u"}"_s << u"plain"_s << u"plain"_s;
    QTest::newRow("nested braces") << u"{"_s << u"}"_s << u"a{b{c}d}e"_s << u"ad}e"_s;
    QTest::newRow("only openings") << u"{"_s << u"}"_s << u"{{{"_s << QString();
    QTest::newRow("empty text") << u"{"_s << u"}"_s << QString() << QString();
}

void TestLanguage::stripDelimited()
{
    QFETCH(QString, open);
    QFETCH(QString, close);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(language::StripDelimited(open, close.at(0), text), expected);
}

// Every text of up to eight characters from "a {}" gives what removing one section at a time, and
// searching the shortened text again from its start, gives.
void TestLanguage::stripDelimitedAsRepeatedSearches()
{
    const auto repeated = [](const QString &open, QString s) {
        do {
            qsizetype a = language::Pos(open, s), b = language::Pos(u"}"_s, s);
            b = b == 0 && a > 0 ? s.size() : b;
            if (b > 0)
                s = s.left((a > b || a == 0 ? 1 : a) - 1) + s.mid(b);
        } while (language::Pos(open, s) > 0);
        return s;
    };
    for (int length = 0, count = 1; length <= 8; ++length, count *= 4) {
        for (int code = 0; code < count; ++code) {
            QString text;
            for (int i = 0, c = code; i < length; ++i, c /= 4)
                text += u"a {}"_s.at(c % 4);
            for (const QString &open : { u"{"_s, u" {"_s, u"a {"_s })
                QCOMPARE(language::StripDelimited(open, u'}', text), repeated(open, text));
        }
    }
}

void TestLanguage::strToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("plain") << u"2"_s << 2;
    QTest::newRow("leading blank") << u" 2"_s << 2;
    QTest::newRow("two leading blanks") << u"  12"_s << 12;
    QTest::newRow("zero") << u"0"_s << 0;
    QTest::newRow("negative") << u"-3"_s << -3;
    QTest::newRow("plus sign") << u"+4"_s << 4;
    QTest::newRow("leading zeros") << u"007"_s << 7;
    QTest::newRow("max") << u"2147483647"_s << qint32(2147483647);
    QTest::newRow("min") << u"-2147483648"_s << qint32(-2147483647 - 1);
}

void TestLanguage::strToInt()
{
    QFETCH(QString, text);
    QFETCH(qint32, expected);
    QCOMPARE(language::StrToInt(text), expected);
}

void TestLanguage::strToIntRejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("trailing blank") << u" 2 "_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("blank only") << u" "_s;
    QTest::newRow("sign only") << u"-"_s;
    QTest::newRow("letters") << u"two"_s;
    QTest::newRow("digits then letters") << u"2a"_s;
    QTest::newRow("overflow") << u"2147483648"_s;
    QTest::newRow("far overflow") << u"99999999999999999999"_s;
    QTest::newRow("leading tab") << u"\t2"_s;
    QTest::newRow("fraction") << u"1.5"_s;
}

void TestLanguage::strToIntRejects()
{
    QFETCH(QString, text);
    try {
        language::StrToInt(text);
        QFAIL("no error");
    } catch (const KsError &e) {
        QCOMPARE(e.message(), u"'%1' is not a valid integer value"_s.arg(text));
    }
}

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
