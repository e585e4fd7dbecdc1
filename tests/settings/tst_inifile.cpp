// tst_inifile: the settings file's INI rules and the settings values, on real files.
#include "FileSizeLimit_unix.h"
#include "IniFile.h"
#include "SettingsFile.h"
#include "TestSupport.h"
#include "TextCodec.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList visibleAndHidden(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot);
}

// A hand-made file: comments, an unknown key and section, odd letter case and blanks, Cyrillic in cp1251.
const QByteArray HandMade = "; мои цвета\r\n"
                            "  [ form ]  \r\n"
                            "  TOP =  10  \r\n"
                            "Comment=Тёмная тема\r\n"
                            "color=0x00FF00\r\n"
                            "WindowState=\r\n"
                            "top=99\r\n"
                            "\r\n"
                            "[Extra]\r\n"
                            "Keep=me\r\n";

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void readsByTheProfileRules()
    {
        QTemporaryDir dir;
        const QByteArray bytes = TextCodec::encode1251Lossy(QString::fromUtf8(HandMade));
        const TIniFile ini(TestSupport::writeFile(dir, u"a.ini"_s, bytes));
        QCOMPARE(ini.Value(u"Form"_s, u"Top"_s), std::optional<QString>(u"10"_s)); // first key, trimmed
        QCOMPARE(ini.ReadInteger(u"FORM"_s, u"top"_s, 74), 10);
        QCOMPARE(ini.ReadString(u"Form"_s, u"Comment"_s, QString()), u"Тёмная тема"_s);
        QCOMPARE(ini.ReadInteger(u"Form"_s, u"Color"_s, 0), 0x00FF00);
        // Present and empty is not absent.
        QCOMPARE(ini.Value(u"Form"_s, u"WindowState"_s), std::optional<QString>(QString()));
        QCOMPARE(ini.ReadString(u"Form"_s, u"WindowState"_s, u"WsNormal"_s), QString());
        QCOMPARE(ini.Value(u"Form"_s, u"Left"_s), std::nullopt);
        QCOMPARE(ini.Value(u"Extra"_s, u"Top"_s), std::nullopt); // keys belong to their section
        QCOMPARE(ini.ReadString(u"Extra"_s, u"keep"_s, QString()), u"me"_s);
        QCOMPARE(ini.Value(u"Options"_s, u"ReadOnly"_s), std::nullopt);

        const TIniFile missing(dir.filePath(u"none.ini"_s));
        QVERIFY(missing.Lines().isEmpty());
        QCOMPARE(missing.ReadInteger(u"Form"_s, u"Top"_s, 74), 74);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // 7 is the default
        QTest::newRow("decimal") << u"644"_s << 644;
        QTest::newRow("negative") << u"-2147483633"_s << -2147483633;
        QTest::newRow("plus") << u"+5"_s << 5;
        QTest::newRow("hex scheme colour") << u"0x8000000F"_s << -2147483633;
        QTest::newRow("hex capital X, lower digits") << u"0Xff"_s << 255;
        QTest::newRow("hex white") << u"0xFFFFFF"_s << 16777215;
        QTest::newRow("lowest") << u"-2147483648"_s << int(-2147483647 - 1);
        QTest::newRow("too large") << u"2147483648"_s << 7;
        QTest::newRow("nine hex digits") << u"0x100000000"_s << 7;
        QTest::newRow("bare 0x") << u"0x"_s << 7;
        QTest::newRow("signed hex") << u"0x-1"_s << 7;
        QTest::newRow("trailing text") << u"12px"_s << 7;
        QTest::newRow("inner blank") << u"1 2"_s << 7;
        QTest::newRow("sign alone") << u"-"_s << 7;
        QTest::newRow("empty") << QString() << 7;
        QTest::newRow("word") << u"white"_s << 7;
        QTest::newRow("Arabic-Indic digits") << u"\u0661\u0662"_s << 7;
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const TIniFile ini(TestSupport::writeFile(dir, u"n.ini"_s, "[Form]\r\nTop= "_ba + text.toUtf8() + " \r\n"));
        QCOMPARE(ini.ReadInteger(u"Form"_s, u"Top"_s, 7), expected);
    }

    void writesInPlaceAndKeepsTheRest()
    {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, u"a.ini"_s, TextCodec::encode1251Lossy(QString::fromUtf8(HandMade)));
        TIniFile ini(path);
        ini.WriteInteger(u"FORM"_s, u"top"_s, -5);          // replaced where it stands, in its own spelling
        ini.WriteString(u"Form"_s, u"Left"_s, u"92"_s);      // new key at the end of its section
        ini.WriteString(u"extra"_s, u"More"_s, u"x"_s);      // at the end of the last section
        ini.WriteString(u"Options"_s, u"NoBorder"_s, u"true"_s); // new section at the end
        QVERIFY(ini.Save());
        const QByteArray expected = TextCodec::encode1251Lossy(QString::fromUtf8("; мои цвета\r\n"
                                                                                 "  [ form ]  \r\n"
                                                                                 "TOP=-5\r\n"
                                                                                 "Comment=Тёмная тема\r\n"
                                                                                 "color=0x00FF00\r\n"
                                                                                 "WindowState=\r\n"
                                                                                 "top=99\r\n"
                                                                                 "Left=92\r\n"
                                                                                 "\r\n"
                                                                                 "[Extra]\r\n"
                                                                                 "Keep=me\r\n"
                                                                                 "More=x\r\n"
                                                                                 "\r\n"
                                                                                 "[Options]\r\n"
                                                                                 "NoBorder=true\r\n"));
        QCOMPARE(bytesOf(path), expected);
        // Writing the same again leaves the same file; reading it back gives what was written.
        TIniFile again(path);
        again.WriteInteger(u"Form"_s, u"Top"_s, -5);
        again.WriteString(u"Options"_s, u"NoBorder"_s, u"true"_s);
        QVERIFY(again.Save());
        QCOMPARE(bytesOf(path), expected);
        QCOMPARE(TIniFile(path).ReadInteger(u"Form"_s, u"Top"_s, 0), -5);
    }

    void keepsAUtf8File()
    {
        QTemporaryDir dir;
        const QByteArray utf8 = "[Form]\r\n; Тёмная тема\r\nTop=1\r\n";
        const QString path = TestSupport::writeFile(dir, u"u.ini"_s, utf8);
        TIniFile ini(path);
        ini.WriteInteger(u"Form"_s, u"Top"_s, 2);
        QVERIFY(ini.Save());
        QCOMPARE(bytesOf(path), "[Form]\r\n; Тёмная тема\r\nTop=2\r\n"_ba);
    }

    void createdByTheFirstWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"new.ini"_s);
        TIniFile ini(path);
        ini.WriteInteger(u"Form"_s, u"Top"_s, 74);
        ini.WriteString(u"Options"_s, u"ReadOnly"_s, u"true"_s);
        ini.WriteInteger(u"Form"_s, u"Left"_s, 92);
        QVERIFY(ini.Save());
        QCOMPARE(bytesOf(path), "[Form]\r\nTop=74\r\nLeft=92\r\n\r\n[Options]\r\nReadOnly=true\r\n"_ba);
    }

    void failedSavesAreSilentAndLeaveTheFileWhole()
    {
        QTemporaryDir dir;
        const QByteArray old = "[Form]\r\nTop=1\r\n; a comment the user wrote\r\n";
        const QString path = TestSupport::writeFile(dir, u"ks.ini"_s, old);
        TIniFile ini(path);
        for (int i = 0; i < 200; ++i)
            ini.WriteInteger(u"Form"_s, u"Key%1"_s.arg(i), i);
        {
            // A disk that fills up halfway (root may write anywhere, but not past this limit).
            TestSupport::FileSizeLimit limit(64);
            QVERIFY(limit.ok());
            QVERIFY(!ini.Save());
        }
        QCOMPARE(bytesOf(path), old);
        QCOMPARE(visibleAndHidden(dir), QStringList{ u"ks.ini"_s });

        // A folder that does not exist, and a folder where the file should be: nothing written, nothing thrown.
        TIniFile nowhere(dir.filePath(u"gone/ks.ini"_s));
        nowhere.WriteInteger(u"Form"_s, u"Top"_s, 1);
        QVERIFY(!nowhere.Save());
        QVERIFY(QDir().mkdir(dir.filePath(u"folder.ini"_s)));
        TIniFile folder(dir.filePath(u"folder.ini"_s));
        QCOMPARE(folder.ReadInteger(u"Form"_s, u"Top"_s, 74), 74);
        folder.WriteInteger(u"Form"_s, u"Top"_s, 1);
        QVERIFY(!folder.Save());
        QVERIFY(QFileInfo(dir.filePath(u"folder.ini"_s)).isDir());
        QCOMPARE(visibleAndHidden(dir), (QStringList{ u"folder.ini"_s, u"ks.ini"_s }));
    }

    void settingsValues()
    {
        QTemporaryDir dir;
        // Every default when the file is missing.
        const Settings::TWindowSettings d = Settings::Read(dir.filePath(u"none.ini"_s));
        QCOMPARE(d.Bounds, QRect(92, 74, 644, 469));
        QCOMPARE(d.Colours[Settings::TreeColour], 16777215);
        QCOMPARE(d.Colours[Settings::PanelColour], -2147483633);
        QCOMPARE(d.Colours[Settings::ImageColour], -2147483633);
        QVERIFY(!d.Maximized() && d.TreeReadOnly() && !d.StayOnTopRequested() && !d.Borderless());
        QCOMPARE(d.FrontTab(), 1);

        // Words: exact letter case, and an empty value counts as any other.
        const QString path = TestSupport::writeFile(dir, u"w.ini"_s,
                                                    "[Form]\r\nWindowState=wsnormal\r\nWindow=about\r\n"
                                                    "PanelColor=0x8000000F\r\n[Options]\r\nReadOnly=\r\n"
                                                    "NoBorder=TRUE\r\nStayOnTop=true\r\n");
        const Settings::TWindowSettings w = Settings::Read(path);
        QVERIFY(w.Maximized());
        QCOMPARE(w.FrontTab(), -1);
        QVERIFY(!w.TreeReadOnly());
        QVERIFY(!w.Borderless());
        QVERIFY(w.StayOnTopRequested());
        QCOMPARE(w.Colours[Settings::PanelColour], d.Colours[Settings::PanelColour]);
        QVERIFY(Settings::Read(TestSupport::writeFile(dir, u"e.ini"_s, "[Form]\r\nWindowState=\r\n")).Maximized());
    }

    void savesTheKeysInOrder()
    {
        QTemporaryDir dir;
        Settings::TWindowSettings s;
        s.Bounds = QRect(10, 20, 300, 200);
        s.Colours[Settings::ComboFontColour] = Settings::RgbColour(1, 2, 3);
        s.ReadOnly = u"false"_s;
        const QString path = dir.filePath(u"s.ini"_s);
        QVERIFY(Settings::Save(path, s));
        QCOMPARE(bytesOf(path),
                 "[Form]\r\nTop=20\r\nLeft=10\r\nWidth=300\r\nHeight=200\r\nColor=16777215\r\nFontColor=0\r\n"
                 "PanelColor=-2147483633\r\nPanelFontColor=0\r\nSystemPanel=-2147483633\r\nSystemPanelFont=0\r\n"
                 "Combo=16777215\r\nComboFont=197121\r\nImage=-2147483633\r\nWindowState=WsNormal\r\n"
                 "Window=Image\r\n\r\n[Options]\r\nReadOnly=false\r\nStayOnTop=false\r\nNoBorder=false\r\n"_ba);
        const Settings::TWindowSettings back = Settings::Read(path);
        QCOMPARE(back.Bounds, s.Bounds);
        QCOMPARE(back.Colours, s.Colours);

        // Maximized: the bounds, colours and ReadOnly the file had stay.
        Settings::TWindowSettings m;
        m.WindowState = Settings::TWindowSettings::WindowStateWord(true);
        m.Bounds = QRect(0, 0, 1, 1);
        m.Colours.fill(0);
        m.ReadOnly = u"true"_s;
        m.Window = Settings::TWindowSettings::TabWord(0);
        m.NoBorder = Settings::TWindowSettings::Word(true);
        QVERIFY(Settings::Save(path, m));
        const Settings::TWindowSettings after = Settings::Read(path);
        QCOMPARE(after.Bounds, s.Bounds);
        QCOMPARE(after.Colours, s.Colours);
        QCOMPARE(after.ReadOnly, u"false"_s);
        QCOMPARE(after.WindowState, u"WsMaximized"_s);
        QCOMPARE(after.Window, u"Discription"_s);
        QCOMPARE(after.NoBorder, u"true"_s);
    }

    void saveName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << u"/home/u/dark"_s << u"/home/u/dark.ini"_s;
        QTest::newRow(".ini") << u"/home/u/dark.ini"_s << u"/home/u/dark.ini"_s;
        QTest::newRow(".ini inside") << u"/home/u/dark.ini.bak"_s << u"/home/u/dark.ini.bak"_s;
        QTest::newRow("capitals") << u"/home/u/DARK.INI"_s << u"/home/u/DARK.INI.ini"_s;
        QTest::newRow("other extension") << u"/home/u/dark.txt"_s << u"/home/u/dark.txt.ini"_s;
    }

    void saveName()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QCOMPARE(Settings::SaveName(chosen), saved);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
