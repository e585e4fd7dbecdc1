// tst_inifile: the settings file's INI rules and the settings values, on real files.
#include "FileSizeLimit_unix.h"
#include "IniFile.h"
#include "SettingsFile.h"
#include "TestSupport.h"
#include "TextCodec.h"

#include <QDir>
#include <QTemporaryDir>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray cp1251(const char *utf8)
{
    return TextCodec::encode1251Lossy(QString::fromUtf8(utf8));
}

// Written by hand: a comment, odd letter case and blanks, a repeated key, an empty value, another section.
const char HandMade[] = "; мои цвета\r\n  [ form ]  \r\n  TOP =  10  \r\nWindowState=\r\ntop=99\r\n\r\n[Extra]\r\nKeep=Тёмная\r\n";

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void readsByTheProfileRules()
    {
        QTemporaryDir dir;
        const TIniFile ini(TestSupport::writeFile(dir, u"a.ini"_s, cp1251(HandMade)));
        QCOMPARE(ini.ReadInteger(u"FORM"_s, u"top"_s, 74), 10); // the first such key, trimmed
        QCOMPARE(ini.Value(u"Form"_s, u"WindowState"_s), std::optional<QString>(QString())); // present, empty
        QCOMPARE(ini.Value(u"Form"_s, u"Left"_s), std::nullopt);
        QCOMPARE(ini.Value(u"Extra"_s, u"Top"_s), std::nullopt); // keys belong to their section
        QCOMPARE(ini.ReadString(u"extra"_s, u"KEEP"_s, QString()), u"Тёмная"_s);
        QCOMPARE(TIniFile(dir.filePath(u"none.ini"_s)).ReadInteger(u"Form"_s, u"Top"_s, 74), 74);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // 7 is the default
        QTest::newRow("signed decimal") << u"+644"_s << 644;
        QTest::newRow("scheme colour, decimal") << u"-2147483633"_s << -2147483633;
        QTest::newRow("scheme colour, hex") << u"0x8000000F"_s << -2147483633;
        QTest::newRow("0X, lower digits") << u"0Xff"_s << 255;
        QTest::newRow("too large") << u"2147483648"_s << 7;
        QTest::newRow("nine hex digits") << u"0x100000000"_s << 7;
        QTest::newRow("leading zeros beyond eight") << u"0x000000000000FF"_s << 255;
        QTest::newRow("past 32 bits after zeros") << u"0x0000100000000"_s << 7;
        QTest::newRow("quoted") << u"\"644\""_s << 644;
        QTest::newRow("signed hex") << u"0x-1"_s << 7;
        QTest::newRow("trailing text") << u"12px"_s << 7;
        QTest::newRow("empty") << QString() << 7;
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const TIniFile ini(TestSupport::writeFile(dir, u"n.ini"_s, "[Form]\r\nTop= "_ba + text.toUtf8() + " \r\n"));
        QCOMPARE(ini.ReadInteger(u"Form"_s, u"Top"_s, 7), expected);
    }

    // One pair of enclosing quotes, double or single, is dropped as Windows reads a profile; nothing else.
    void quotedValues()
    {
        QTemporaryDir dir;
        const TIniFile ini(TestSupport::writeFile(
            dir, u"q.ini"_s, "[Form]\r\nA=\"WsNormal\"\r\nB= ' t ' \r\nC=\"\"x\"\"\r\nD=\"\r\nE=\"x'\r\nF=a\"b\"\r\n"));
        QStringList values;
        for (const char *key : { "A", "B", "C", "D", "E", "F" })
            values << ini.ReadString(u"Form"_s, QString::fromLatin1(key), u"default"_s);
        QCOMPARE(values, (QStringList{ u"WsNormal"_s, u" t "_s, u"\"x\""_s, u"\""_s, u"\"x'"_s, u"a\"b\""_s }));
    }

    // A file with a UTF-16 mark, in either byte order, is read as UTF-16 and written back the same way;
    // one with half a character at its end is not read and never replaced.
    void utf16Files()
    {
        QTemporaryDir dir;
        for (const bool bigEndian : { false, true }) {
            const auto utf16 = [&](const QString &text) {
                return QByteArray(QStringEncoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
                                                 QStringEncoder::Flag::WriteBom)(text));
            };
            const QString path = TestSupport::writeFile(dir, u"ks.ini"_s, utf16(u"[Form]\r\nTop=5\r\nKeep=Тёмная 𝄞\r\n"_s));
            const QString odd = TestSupport::writeFile(dir, u"odd.ini"_s, utf16(u"[Form]\r\nTop=5\r\n"_s) + 'x');
            for (TIniFile ini : { TIniFile(path), TIniFile(odd) }) {
                QCOMPARE(ini.ReadInteger(u"Form"_s, u"Top"_s, 74), ini.FileName() == path ? 5 : 74);
                ini.WriteInteger(u"Form"_s, u"Top"_s, 6);
                QCOMPARE(ini.Save(), ini.FileName() == path);
            }
            QCOMPARE(bytesOf(path), utf16(u"[Form]\r\nTop=6\r\nKeep=Тёмная 𝄞\r\n"_s));
            QCOMPARE(bytesOf(odd), utf16(u"[Form]\r\nTop=5\r\n"_s) + 'x');
        }
    }

    void writesInPlaceAndKeepsTheRest()
    {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, u"a.ini"_s, cp1251(HandMade));
        const QByteArray expected = cp1251("; мои цвета\r\n  [ form ]  \r\nTOP=-5\r\nWindowState=\r\ntop=99\r\nLeft=92\r\n\r\n"
                                           "[Extra]\r\nKeep=Тёмная\r\nMore=x\r\n\r\n[Options]\r\nNoBorder=true\r\n");
        // In place in the key's own spelling, at the end of its section, a new section at the end.
        // Written twice, the file is the same.
        for (int round = 0; round < 2; ++round) {
            TIniFile ini(path);
            ini.WriteInteger(u"Form"_s, u"top"_s, -5);
            ini.WriteString(u"Form"_s, u"Left"_s, u"92"_s);
            ini.WriteString(u"extra"_s, u"More"_s, u"x"_s);
            ini.WriteString(u"Options"_s, u"NoBorder"_s, u"true"_s);
            QVERIFY(ini.Save());
            QCOMPARE(bytesOf(path), expected);
        }
        TIniFile fresh(dir.filePath(u"new.ini"_s));
        fresh.WriteInteger(u"Form"_s, u"Top"_s, 74);
        fresh.WriteString(u"Options"_s, u"ReadOnly"_s, u"true"_s);
        QVERIFY(fresh.Save());
        QCOMPARE(bytesOf(fresh.FileName()), "[Form]\r\nTop=74\r\n\r\n[Options]\r\nReadOnly=true\r\n"_ba);
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
            // A disk that fills up halfway; root may write anywhere, but not past this limit.
            TestSupport::FileSizeLimit limit(64);
            QVERIFY(limit.ok());
            QVERIFY(!ini.Save());
        }
        QCOMPARE(bytesOf(path), old);
        // A missing folder, and a folder in place of the file (read as empty, never replaced).
        TIniFile nowhere(dir.filePath(u"gone/ks.ini"_s));
        nowhere.WriteInteger(u"Form"_s, u"Top"_s, 1);
        QVERIFY(!nowhere.Save());
        QVERIFY(QDir().mkdir(dir.filePath(u"folder.ini"_s)));
        TIniFile folder(dir.filePath(u"folder.ini"_s));
        folder.WriteInteger(u"Form"_s, u"Top"_s, 1);
        QVERIFY(!folder.Save());
        QVERIFY(QFileInfo(folder.FileName()).isDir());
        const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, (QStringList{ u"folder.ini"_s, u"ks.ini"_s })); // no temporary file stays
    }

    void settingsValues()
    {
        QTemporaryDir dir;
        // Words compare exactly; an empty value is one of the "other" values.
        const Settings::TWindowSettings w = Settings::Read(TestSupport::writeFile(
            dir, u"w.ini"_s, "[Form]\r\nWindowState=wsnormal\r\nWindow=about\r\n[Options]\r\nReadOnly=\r\nNoBorder=TRUE\r\n"));
        QVERIFY(w.Maximized() && !w.TreeReadOnly() && !w.Borderless());
        QCOMPARE(w.FrontTab(), -1);

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
        // Maximized: bounds, colours and ReadOnly stay as the file had them.
        Settings::TWindowSettings m;
        m.WindowState = Settings::TWindowSettings::WindowStateWord(true);
        m.Colours.fill(0);
        m.Window = Settings::TWindowSettings::TabWord(0);
        QVERIFY(Settings::Save(path, m));
        const Settings::TWindowSettings after = Settings::Read(path);
        QCOMPARE(after.Bounds, s.Bounds);
        QCOMPARE(after.Colours, s.Colours);
        QCOMPARE(after.ReadOnly + after.WindowState + after.Window, u"falseWsMaximizedDiscription"_s);

        QCOMPARE(Settings::SaveName(u"/u/dark"_s) + Settings::SaveName(u"/u/a.ini.bak"_s)
                + Settings::SaveName(u"/u/B.INI"_s) + Settings::SaveName(u"/u/my.ini.d/dark"_s),
            u"/u/dark.ini/u/a.ini.bak/u/B.INI.ini/u/my.ini.d/dark.ini"_s);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
