// test_settings: the settings files applied to and saved from the real main window, and the settings dialog.
#include "MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "IniFile.h"
#include "SettingsFile.h"
#include "Unit7.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QColor colourOf(QWidget *w, QPalette::ColorRole role)
{
    return w->palette().color(role);
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QColor buttonFace()
{
    return QGuiApplication::palette().color(QPalette::Button);
}

// A full settings file, written as a user would: odd letter case, hexadecimal and decimal colours.
const QByteArray Dark = "[form]\r\nTop=50\r\nLeft=60\r\nWidth=700\r\nHeight=500\r\n"
                        "Color=0x000000\r\nFontColor=16777215\r\nPanelColor=255\r\nPanelFontColor=65280\r\n"
                        "SystemPanel=0xFF0000\r\nSystemPanelFont=0x00FFFF\r\nCombo=0x808080\r\nComboFont=0x102030\r\n"
                        "Image=0x8000000F\r\nWindowState=WsNormal\r\nWindow=About\r\n"
                        "[OPTIONS]\r\nReadOnly=false\r\nStayOnTop=true\r\nNoBorder=true\r\n";

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void firstStartAndExitSave()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->geometry().topLeft(), QPoint(92, 74));
        QCOMPARE(w.Form->size(), QSize(644, 469));
        auto *tree = w.Find<THETreeView>(u"TreeView1"_s);
        QCOMPARE(colourOf(tree, QPalette::Base), QColor(Qt::white));
        QCOMPARE(colourOf(tree, QPalette::Text), QColor(Qt::black));
        for (const char16_t *name : { u"Panel2", u"Panel4", u"Panel6", u"Panel3", u"Panel5", u"TabSheet2" })
            QCOMPARE(colourOf(w.Find<QWidget>(QString::fromUtf16(name)), QPalette::Window), buttonFace());
        QVERIFY(!w.Form->StaysOnTop() && !w.Form->Borderless() && !w.Form->InPlaceEditing());
        QVERIFY(!w.Find<QWidget>(u"Panel7"_s)->isVisible());
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 1);
        QVERIFY(w.View->Urls.isEmpty()); // no description page on the image tab
        QVERIFY(!QFile::exists(folder.Path(u"ks.ini"_s)));

        w.Form->setGeometry(QRect(QPoint(30, 40), w.Form->size()));
        w.Form->close();
        const TIniFile ini(folder.Path(u"ks.ini"_s));
        QCOMPARE(ini.ReadInteger(u"Form"_s, u"Left"_s, 0), 30);
        QCOMPARE(ini.ReadInteger(u"Form"_s, u"Top"_s, 0), 40);
        QCOMPARE(ini.ReadString(u"Form"_s, u"PanelColor"_s, QString()), u"-2147483633"_s);
        QCOMPARE(ini.ReadString(u"Form"_s, u"Window"_s, QString()), u"Image"_s);
        QCOMPARE(ini.ReadString(u"Options"_s, u"ReadOnly"_s, QString()), u"true"_s);
        QVERIFY(w.Messages.Errors.isEmpty());
    }

    void appliesEverySetting()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, Dark);
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->geometry().topLeft(), QPoint(60, 50));
        QCOMPARE(w.Form->size(), QSize(700, 500));
        auto *tree = w.Find<THETreeView>(u"TreeView1"_s);
        QCOMPARE(colourOf(tree, QPalette::Base), QColor(Qt::black));
        QCOMPARE(colourOf(tree, QPalette::Text), QColor(Qt::white));
        QCOMPARE(colourOf(w.Find<QWidget>(u"Panel2"_s), QPalette::Window), QColor(255, 0, 0)); // red in the low byte
        QCOMPARE(colourOf(w.Find<QWidget>(u"Panel4"_s), QPalette::Window), QColor(255, 0, 0));
        for (const char16_t *name : { u"SpeedButton1", u"SpeedButton6", u"SpeedButton2", u"SpeedButton4", u"SpeedButton3" })
            QCOMPARE(colourOf(w.Find<QWidget>(QString::fromUtf16(name)), QPalette::ButtonText), QColor(0, 255, 0));
        for (const char16_t *name : { u"Panel6", u"Panel3", u"Panel5", u"Panel7" })
            QCOMPARE(colourOf(w.Find<QWidget>(QString::fromUtf16(name)), QPalette::Window), QColor(0, 0, 255));
        QCOMPARE(colourOf(w.Find<QLabel>(u"Label6"_s), QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(colourOf(w.Find<QLabel>(u"Label1"_s), QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(colourOf(w.Find<QLabel>(u"Label10"_s), QPalette::WindowText), QColor(Qt::blue)); // the URL's own
        auto *combo = w.Find<QComboBox>(u"ComboBox1"_s);
        QCOMPARE(colourOf(combo, QPalette::Base), QColor(0x80, 0x80, 0x80));
        QCOMPARE(colourOf(combo, QPalette::Text), QColor(0x30, 0x20, 0x10));
        QCOMPARE(colourOf(w.Find<QWidget>(u"TabSheet2"_s), QPalette::Window), buttonFace());
        QVERIFY(w.Form->StaysOnTop());
        QVERIFY(w.Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.Form->Borderless());
        QVERIFY(w.Form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.Form->isVisible());
        QVERIFY(w.Find<QWidget>(u"Panel7"_s)->isVisible());
        QVERIFY(!tree->ReadOnly());
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 2);

        // A file with StayOnTop "false" leaves the window on top; NoBorder in capitals gives the border back.
        const QString plain = folder.WriteBytes(u"plain.ini"_s, "[Options]\r\nStayOnTop=false\r\nNoBorder=TRUE\r\n");
        w.Form->LoadSettingsFile(plain);
        QVERIFY(w.Form->StaysOnTop());
        QVERIFY(!w.Form->Borderless());
        QVERIFY(!w.Find<QWidget>(u"Panel7"_s)->isVisible());
        QVERIFY(tree->ReadOnly());
        QCOMPARE(colourOf(tree, QPalette::Base), QColor(Qt::white)); // the defaults of a file without colours

        // The exit save writes what the window shows now, the number forms of the file aside.
        w.Form->close();
        const Settings::TWindowSettings saved = Settings::Read(folder.Path(u"ks.ini"_s));
        QCOMPARE(saved.StayOnTop, u"true"_s);
        QCOMPARE(saved.NoBorder, u"false"_s);
        QCOMPARE(saved.Colours, Settings::TWindowSettings().Colours);
    }

    void maximizedWritesOnlyItsState()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[Form]\r\nTop=11\r\nLeft=12\r\nWidth=600\r\nHeight=450\r\nColor=255\r\n"
                                       "WindowState=\r\n[Options]\r\nReadOnly=true\r\n");
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QTRY_VERIFY(w.Form->isMaximized()); // an empty WindowState maximizes
        // The maximise button still shows "maximise"; its first press restores the bounds of the file.
        auto *maximize = w.Find<QToolButton>(u"SpeedButton13"_s);
        const QImage maxSymbol = w.Form->style()->standardIcon(QStyle::SP_TitleBarMaxButton).pixmap(12).toImage();
        const QImage restoreSymbol = w.Form->style()->standardIcon(QStyle::SP_TitleBarNormalButton).pixmap(12).toImage();
        QCOMPARE(maximize->icon().pixmap(12).toImage(), maxSymbol);

        w.Form->SetColour(Settings::TreeColour, 0);
        w.Form->SetInPlaceEditing(true);
        w.Form->close();
        const QByteArray file = bytesOf(folder.Path(u"ks.ini"_s));
        QCOMPARE(file, "[Form]\r\nTop=11\r\nLeft=12\r\nWidth=600\r\nHeight=450\r\nColor=255\r\n"
                       "WindowState=WsMaximized\r\nWindow=Image\r\n[Options]\r\nReadOnly=true\r\nStayOnTop=false\r\n"
                       "NoBorder=false\r\n"_ba);

        // Shown again: the button restores to the file's bounds and keeps showing "maximise".
        TWindowUnderTest again;
        again.Create();
        QVERIFY(again.ShowAndLoad());
        QTRY_VERIFY(again.Form->isMaximized());
        auto *button = again.Find<QToolButton>(u"SpeedButton13"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(!again.Form->isMaximized());
        QTRY_COMPARE(again.Form->geometry().topLeft(), QPoint(12, 11));
        QTRY_COMPARE(again.Form->size(), QSize(600, 450));
        QCOMPARE(button->icon().pixmap(12).toImage(), maxSymbol);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(again.Form->isMaximized());
        QCOMPARE(button->icon().pixmap(12).toImage(), restoreSymbol);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(!again.Form->isMaximized());
        QTRY_COMPARE(again.Form->geometry().topLeft(), QPoint(12, 11));
        QTRY_COMPARE(again.Form->size(), QSize(600, 450));
    }

    void listWithASettingsLine()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[Form]\r\nColor=255\r\n");
        QDir().mkpath(folder.Path(u"lists"_s));
        folder.WriteBytes(u"lists/dark.ini"_s, "[Form]\r\nColor=0xFF0000\r\nWindow=Discription\r\n");
        const QString list = folder.WriteLines(u"lists/winter.lst"_s,
                                               albumBlock(u"A"_s, QString(), QString()) << u"ini: dark.ini"_s);
        TWindowUnderTest w;
        w.Create({ list });
        QVERIFY(w.ShowAndLoad());
        auto *tree = w.Find<THETreeView>(u"TreeView1"_s);
        QCOMPARE(colourOf(tree, QPalette::Base), QColor(0, 0, 255)); // dark.ini beside the list, not ks.ini
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 0);
        w.Form->close();
        QCOMPARE(TIniFile(folder.Path(u"ks.ini"_s)).ReadInteger(u"Form"_s, u"Color"_s, 0), 0xFF0000);

        // A settings file that does not exist: every default.
        const QString other = folder.WriteLines(u"other.lst"_s, { u"ini: missing.ini"_s });
        TWindowUnderTest x;
        x.Create();
        QVERIFY(x.ShowAndLoad());
        x.Form->SetColour(Settings::TreeColour, 0);
        x.Form->LoadList(other);
        QCOMPARE(colourOf(x.Find<THETreeView>(u"TreeView1"_s), QPalette::Base), QColor(Qt::white));
    }

    void offScreenPlaceIsMovedOntoTheScreen()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[Form]\r\nLeft=-6000\r\nTop=3000\r\nWidth=300\r\nHeight=200\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY2(screen.contains(w.Form->frameGeometry()),
                     qPrintable(u"%1,%2 %3x%4"_s.arg(w.Form->x()).arg(w.Form->y()).arg(w.Form->width()).arg(w.Form->height())));
    }

    void settingsDialog()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        w.Form->SetBorderless(true);
        w.Find<QAction>(u"N3"_s)->trigger();
        TForm7 *dialog = w.Form->Form7();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), u"Настройки"_s);
        auto *editing = dialog->findChild<QCheckBox *>(u"CheckBox1"_s);
        auto *onTop = dialog->findChild<QCheckBox *>(u"CheckBox2"_s);
        auto *borderless = dialog->findChild<QCheckBox *>(u"CheckBox3"_s);
        QCOMPARE(editing->text(), u"Редактирование на ходу"_s);
        QVERIFY(!editing->isChecked() && !onTop->isChecked() && borderless->isChecked());

        // Colours: the shared dialog starts black and then with the last colour chosen.
        w.ColourDialog.Answer(QColor(10, 20, 30));
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button1"_s), Qt::LeftButton);
        QCOMPARE(dialog->findChild<QLineEdit *>(u"Edit1"_s)->text(), QString::number(10 + 20 * 256 + 30 * 65536));
        QCOMPARE(colourOf(w.Form->TreeView(), QPalette::Base), QColor(10, 20, 30));
        w.ColourDialog.Cancel();
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button2"_s), Qt::LeftButton);
        QVERIFY(dialog->findChild<QLineEdit *>(u"Edit2"_s)->text().isEmpty());
        w.ColourDialog.Answer(QColor(1, 2, 3));
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button5"_s), Qt::LeftButton);
        QCOMPARE(w.ColourDialog.Initial, (QList<QColor>{ Qt::black, QColor(10, 20, 30), QColor(10, 20, 30) }));
        QCOMPARE(colourOf(w.Find<QWidget>(u"Panel2"_s), QPalette::Window), QColor(1, 2, 3));
        QCOMPARE(colourOf(w.Find<QWidget>(u"Panel4"_s), QPalette::Window), QColor(1, 2, 3));
        QVERIFY(dialog->findChild<QLineEdit *>(u"Edit1"_s)->isReadOnly());
        QVERIFY(!dialog->findChild<QLineEdit *>(u"Edit3"_s)->isReadOnly()); // the combo box rows take typing
        QVERIFY(!dialog->findChild<QLineEdit *>(u"Edit4"_s)->isReadOnly());

        // Check boxes apply at once.
        editing->click();
        QVERIFY(w.Form->InPlaceEditing());
        onTop->click();
        QVERIFY(w.Form->StaysOnTop());
        borderless->click();
        QVERIFY(!w.Form->Borderless());
        QVERIFY(w.Form->isVisible());

        // Save under a name without ".ini", then one that holds it; open applies and forgets the name.
        w.FileDialogs.Answer(folder.Path(u"mine"_s));
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button10"_s), Qt::LeftButton);
        QCOMPARE(w.FileDialogs.Requests.last().Filter, u"INI файлы|*.ini"_s);
        const Settings::TWindowSettings mine = Settings::Read(folder.Path(u"mine.ini"_s));
        QCOMPARE(mine.Colours[Settings::TreeColour], 10 + 20 * 256 + 30 * 65536);
        QCOMPARE(mine.ReadOnly, u"false"_s);
        QCOMPARE(mine.StayOnTop, u"true"_s);
        QCOMPARE(dialog->SaveName(), folder.Path(u"mine.ini"_s));
        w.FileDialogs.Answer(folder.Path(u"x.ini.bak"_s));
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button10"_s), Qt::LeftButton);
        QVERIFY(QFile::exists(folder.Path(u"x.ini.bak"_s)));

        const QString other = folder.WriteBytes(u"other.ini"_s, "[Form]\r\nColor=0xFF\r\n[Options]\r\nNoBorder=true\r\n");
        w.FileDialogs.Answer(other);
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button11"_s), Qt::LeftButton);
        QCOMPARE(colourOf(w.Form->TreeView(), QPalette::Base), QColor(255, 0, 0));
        QVERIFY(w.Form->Borderless());
        QVERIFY(dialog->OpenName().isEmpty());
        w.FileDialogs.Cancel();
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button11"_s), Qt::LeftButton);
        QCOMPARE(colourOf(w.Form->TreeView(), QPalette::Base), QColor(255, 0, 0));

        // Shown again after a file made the window borderless: the box says so.
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"Button12"_s), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        w.Find<QAction>(u"N3"_s)->trigger();
        QVERIFY(borderless->isChecked());
        QVERIFY(w.Messages.Errors.isEmpty());
    }

    void realColourDialog()
    {
        TQtColourDialog dialog;
        QColor seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->currentColor();
            box->setCurrentColor(QColor(200, 100, 50));
            box->accept();
        });
        QCOMPARE(dialog.ChooseColour(nullptr, QColor(1, 2, 3)), std::optional<QColor>(QColor(200, 100, 50)));
        QCOMPARE(seen, QColor(1, 2, 3));
        QTimer::singleShot(0, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                static_cast<QDialog *>(box)->reject();
        });
        QCOMPARE(dialog.ChooseColour(nullptr, Qt::black), std::nullopt);
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
