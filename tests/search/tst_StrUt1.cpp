// tst_StrUt1: names against masks, WildPos and CutAtStar, in one table.
#include "StrUt1.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestStrUt1 : public QObject
{
    Q_OBJECT
private slots:
    void matchMask_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("fits");
        const struct
        {
            const char16_t *name, *mask;
            bool ignoreCase, fits;
        } rows[] = {
            { u"song.mp3", u"*.MP3", true, true },
            { u"song.mp3.bak", u"*.MP3", true, false },
            { u"Song.MP3", u"*.mp3", false, false },
            { u"Song.MP3", u"Song.MP3", false, true }, // equal texts fit before any wildcard rule
            { u"Песня.MP3", u"*.mp3", true, true },
            { u"ПЕСНЯ.mp3", u"песня.*", true, true }, // Cyrillic folds too
            { u"aXbYc", u"a*b*c", false, true },
            { u"acb", u"a*b*c", false, false },
            { u"abc", u"ab*bc", false, false }, // the last segment may not reuse matched characters
            { u"xaba", u"x*ab*ba*", false, false },
            { u"xabba", u"x*ab*ba*", false, true },
            { u"a", u"ab*", false, false },
            { u"a", u"a?", false, false },
            { u"a", u"a*", false, true },
            { u"aXXb", u"a**b", false, true },
            { u"anything at all", u"**", false, true },
            { u".", u"***", false, true },
            { u"a.txt", u"?.txt", false, true },
            { u"ab.txt", u"?.txt", false, false },
            { u"abc", u"???", false, true },
            { u"ab", u"???", false, false },
            { u"x.", u"*.", false, true }, // an empty extension: names ending with a dot
            { u"a.b.mp3", u"*.?p3", true, true },
            { u"日本 の歌.mp3", u"*.mp3", true, true },
            { u"*x.mp3", u"*.mp3", true, true }, // wildcards count in the mask only
            { u"a*b.mp3", u"a*.mp3", true, true },
            // "*.ext": the end of the name compared in place, with the same results
            { u"Song.mp3", u"*.mp3", false, true },
            { u".mp3", u"*.MP3", true, true },
            { u"p3", u"*.mp3", true, false },
            { u"a.mpß", u"*.MPSS", true, true }, // a character that grows in upper case
            { u"a.mp3ſ", u"*.MP3S", true, true }, // the long s upper-cases to S
        };
        for (const auto &r : rows)
            QTest::addRow("%s ~ %s", qPrintable(QString::fromUtf16(r.name)), qPrintable(QString::fromUtf16(r.mask)))
                << QString::fromUtf16(r.name) << QString::fromUtf16(r.mask) << r.ignoreCase << r.fits;
    }
    void matchMask()
    {
        QFETCH(QString, name);
        QFETCH(QString, mask);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, fits);
        QCOMPARE(MatchMask(name, mask, ignoreCase), fits);
    }

    void wildPosCutAtStarAndWholeNames()
    {
        QCOMPARE(WildPos(u"b?d"_s, u"abcde"_s), 2);
        QCOMPARE(WildPos(u"xyz"_s, u"ab"_s), 0);
        QCOMPARE(WildPos(u"??"_s, u"a"_s), 0);
        QCOMPARE(WildPos(u"cd"_s, u"abcd"_s), 3);
        QString mask = u"ab*c*"_s;
        QCOMPARE(CutAtStar(mask), 3);
        QCOMPARE(mask, u"ab"_s);
        mask = u"abc"_s;
        QCOMPARE(CutAtStar(mask), 0);
        QCOMPARE(mask, u"abc"_s);
        // Whole names ignore the case of a-z only.
        QVERIFY(SameName(u"Song.MP3"_s, u"song.mp3"_s, true));
        QVERIFY(!SameName(u"Song.MP3"_s, u"song.mp3"_s, false));
        QVERIFY(!SameName(u"Я.mp3"_s, u"я.mp3"_s, true));
    }
};

QTEST_APPLESS_MAIN(TestStrUt1)
#include "tst_StrUt1.moc"
