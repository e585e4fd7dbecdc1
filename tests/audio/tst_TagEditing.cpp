// tst_TagEditing: the title and track number the tag editor takes from file names.
#include "TagEditing.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestTagEditing : public QObject
{
    Q_OBJECT
private slots:
    void fromFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("title");
        const struct
        {
            const char16_t *name;
            int position;
            const char16_t *track, *title;
        } rows[] = {
            { u"01 - intro.mp3", 0, u"01", u"intro" },
            { u"07 Song Title.mp3", 0, u"07", u"Song Title" }, // the capital before a small letter stays
            { u"Track.mp3", 4, u"5", u"Track" },               // the leading letter is never blanked
            { u"01-Track.mp3", 0, u"01", u"Track" },
            { u"01-Вступление.mp3", 0, u"01", u"-Вступление" }, // the character before the letter stays
            { u"2003 - x.mp3", 0, u"2003", u"x" },
            { u"01 - Intro.MP3", 2, u"01", u"Intro" },          // the extension in any case
            { u"a.mp3.mp3", 0, u"1", u"a.mp3" },
            { u"99999999999 b.mp3", 3, u"4", u"b" },            // digits beyond a 32-bit number
            { u"ABC 12.mp3", 0, u"1", u"ABC 12" },               // no small letter: nothing blanked
            { u"05 日本.mp3", 0, u"05", u"日本" },
        };
        for (const auto &r : rows)
            QTest::addRow("%s", qPrintable(QString::fromUtf16(r.name)))
                << QString::fromUtf16(r.name) << r.position << QString::fromUtf16(r.track) << QString::fromUtf16(r.title);
    }
    void fromFileName()
    {
        QFETCH(QString, name);
        QFETCH(int, position);
        QFETCH(QString, track);
        QFETCH(QString, title);
        const TagEditing::TTagFields f = TagEditing::FromFileName(name, position);
        QCOMPARE(f.Track, track);
        QCOMPARE(f.Title, title);
    }
};

QTEST_APPLESS_MAIN(TestTagEditing)
#include "tst_TagEditing.moc"
