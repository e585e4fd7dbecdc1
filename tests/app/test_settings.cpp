// test_settings: settings files applied to and saved from the real main window, and the settings dialog.
#include "MainWindowFixture.h"

#include "He1.h"
#include "IniFile.h"
#include "SettingsFile.h"
#include "Unit7.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QColor colourOf(const TWindowUnderTest &w, const QString &name, QPalette::ColorRole role)
{
    return w.Find<QWidget>(name)->palette().color(role);
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QImage symbol(QWidget *w, QStyle::StandardPixmap which)
{
    return w->style()->standardIcon(which).pixmap(12).toImage();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartAndExitSave()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, u"a.htm"_s, QString()));
        folder.WriteBytes(u"a.htm"_s, "a");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->geometry(), QRect(92, 74, 644, 469));
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(Qt::white));
        QCOMPARE(colourOf(w, u"Panel2"_s, QPalette::Window), QGuiApplication::palette().color(QPalette::Button));
        QVERIFY(!w.Form->StaysOnTop() && !w.Form->Borderless() && !w.Form->InPlaceEditing());
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 1);
        QVERIFY(w.View->Urls.isEmpty()); // no page is shown, so the web engine never starts

        w.Form->setGeometry(30, 40, 700, 480);
        w.Form->close();
        const Settings::TWindowSettings saved = Settings::Read(folder.Path(u"ks.ini"_s));
        QCOMPARE(saved.Bounds, QRect(30, 40, 700, 480));
        QCOMPARE(saved.Colours, Settings::TWindowSettings().Colours); // the button face as its scheme number
        QCOMPARE(saved.Window + saved.ReadOnly, u"Imagetrue"_s);
    }

    void appliesEverySetting()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[form]\r\nTop=50\r\nLeft=60\r\nWidth=700\r\nHeight=500\r\nColor=0x000000\r\n"
                                       "FontColor=16777215\r\nPanelColor=255\r\nPanelFontColor=65280\r\n"
                                       "SystemPanel=0xFF0000\r\nSystemPanelFont=0x00FFFF\r\nCombo=0x808080\r\n"
                                       "ComboFont=0x102030\r\nImage=0x0000FF\r\nWindow=About\r\n"
                                       "[OPTIONS]\r\nReadOnly=false\r\nStayOnTop=true\r\nNoBorder=true\r\n");
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->geometry(), QRect(60, 50, 700, 500));
        const struct
        {
            const char16_t *Widget;
            QPalette::ColorRole Role;
            QColor Colour;
        } painted[] = {
            { u"TreeView1", QPalette::Base, Qt::black },         { u"TreeView1", QPalette::Text, Qt::white },
            { u"Panel2", QPalette::Window, Qt::red },            { u"Panel4", QPalette::Window, Qt::red },
            { u"SpeedButton3", QPalette::ButtonText, Qt::green }, { u"Panel6", QPalette::Window, Qt::blue },
            { u"Panel3", QPalette::Window, Qt::blue },           { u"Panel5", QPalette::Window, Qt::blue },
            { u"Panel7", QPalette::Window, Qt::blue },           { u"Label6", QPalette::WindowText, Qt::yellow },
            { u"Label10", QPalette::WindowText, Qt::blue },      // the URL keeps its own
            { u"ComboBox1", QPalette::Base, QColor(0x80, 0x80, 0x80) },
            { u"ComboBox1", QPalette::Text, QColor(0x30, 0x20, 0x10) }, { u"TabSheet2", QPalette::Window, Qt::red },
        };
        for (const auto &p : painted)
            QCOMPARE(colourOf(w, QString::fromUtf16(p.Widget), p.Role), p.Colour);
        QVERIFY(w.Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.Form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.Form->isVisible() && w.Find<QWidget>(u"Panel7"_s)->isVisible());
        QVERIFY(!w.Form->TreeView()->ReadOnly());
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 2);

        // StayOnTop "false" leaves the window on top; NoBorder in capitals gives the border back.
        w.Form->LoadSettingsFile(folder.WriteBytes(u"b.ini"_s, "[Options]\r\nStayOnTop=false\r\nNoBorder=TRUE\r\n"));
        QVERIFY(w.Form->StaysOnTop() && !w.Form->Borderless());
        QVERIFY(!w.Find<QWidget>(u"Panel7"_s)->isVisible());
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(Qt::white));
    }

    void maximizedWritesOnlyItsState()
    {
        TProgramFolder folder;
        const QByteArray before = "[Form]\r\nTop=11\r\nLeft=12\r\nWidth=600\r\nHeight=450\r\nColor=255\r\nWindowState=\r\n";
        folder.WriteBytes(u"ks.ini"_s, before);
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QTRY_VERIFY(w.Form->isMaximized()); // an empty WindowState maximizes
        w.Form->SetColour(Settings::TreeColour, 0);
        w.Form->SetInPlaceEditing(true);
        w.Form->close();
        QCOMPARE(bytesOf(folder.Path(u"ks.ini"_s)),
                 QByteArray(before).replace("WindowState=", "WindowState=WsMaximized")
                     + "Window=Image\r\n\r\n[Options]\r\nStayOnTop=false\r\nNoBorder=false\r\n");

        // Started again: the button shows "maximise" and its first press restores the file's bounds.
        TWindowUnderTest again;
        again.Create();
        QVERIFY(again.ShowAndLoad());
        QTRY_VERIFY(again.Form->isMaximized());
        auto *button = again.Find<QToolButton>(u"SpeedButton13"_s);
        const QImage maximise = symbol(button, QStyle::SP_TitleBarMaxButton);
        QCOMPARE(button->icon().pixmap(12).toImage(), maximise);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(!again.Form->isMaximized());
        QTRY_COMPARE(again.Form->geometry(), QRect(12, 11, 600, 450));
        QCOMPARE(button->icon().pixmap(12).toImage(), maximise);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(again.Form->isMaximized());
        QCOMPARE(button->icon().pixmap(12).toImage(), symbol(button, QStyle::SP_TitleBarNormalButton));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(again.Form->geometry(), QRect(12, 11, 600, 450));
    }

    void listWithASettingsLine()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"ks.ini"_s, "[Form]\r\nColor=255\r\n");
        QDir().mkpath(folder.Path(u"lists"_s));
        folder.WriteBytes(u"lists/dark.ini"_s, "[Form]\r\nColor=0xFF0000\r\nWindow=Discription\r\n");
        TWindowUnderTest w;
        w.Create({ folder.WriteLines(u"lists/w.lst"_s, albumBlock(u"A"_s, QString(), QString()) << u"ini: dark.ini"_s) });
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(Qt::blue)); // dark.ini beside the list
        QCOMPARE(w.Find<QTabWidget>(u"PageControl1"_s)->currentIndex(), 0);
        // A list naming a settings file that does not exist: every default.
        w.Form->LoadList(folder.WriteLines(u"other.lst"_s, { u"ini: missing.ini"_s }));
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(Qt::white));
        w.Form->SetColour(Settings::TreeColour, 0xFF0000);
        w.Form->close();
        QCOMPARE(TIniFile(folder.Path(u"ks.ini"_s)).ReadInteger(u"Form"_s, u"Color"_s, 0), 0xFF0000);
    }

    void settingsDialog()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        w.Form->SetBorderless(true);
        w.Find<QAction>(u"N3"_s)->trigger();
        TForm7 *dialog = w.Form->Form7();
        QVERIFY(dialog->isVisible());
        const auto button = [&](int n) { return dialog->findChild<QPushButton *>(u"Button%1"_s.arg(n)); };
        const auto box = [&](int n) { return dialog->findChild<QCheckBox *>(u"CheckBox%1"_s.arg(n)); };
        QVERIFY(!box(1)->isChecked() && !box(2)->isChecked() && box(3)->isChecked());

        // One colour dialog: black first, then the last colour chosen; a cancel changes nothing.
        w.ColourDialog.Answer(QColor(10, 20, 30));
        w.ColourDialog.Cancel();
        w.ColourDialog.Answer(QColor(1, 2, 3));
        for (int row : { 1, 2, 5 })
            QTest::mouseClick(button(row), Qt::LeftButton);
        QCOMPARE(w.ColourDialog.Initial, (QList<QColor>{ Qt::black, QColor(10, 20, 30), QColor(10, 20, 30) }));
        QCOMPARE(dialog->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"1971210"_s); // 10 + 20·256 + 30·65536
        QVERIFY(dialog->findChild<QLineEdit *>(u"Edit2"_s)->text().isEmpty());
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(10, 20, 30));
        QCOMPARE(colourOf(w, u"Panel4"_s, QPalette::Window), QColor(1, 2, 3));

        box(1)->click();
        box(2)->click();
        box(3)->click();
        QVERIFY(w.Form->InPlaceEditing() && w.Form->StaysOnTop() && !w.Form->Borderless());

        // Saved under a name without ".ini"; opened, a file applies and the open name is forgotten.
        w.FileDialogs.Answer(folder.Path(u"mine"_s));
        QTest::mouseClick(button(10), Qt::LeftButton);
        QCOMPARE(w.FileDialogs.Requests.last().Filter, u"INI файлы|*.ini"_s);
        QVERIFY(w.FileDialogs.Requests.last().StartName.isEmpty());
        // The next save starts with the name last saved, ".ini" and all.
        w.FileDialogs.Cancel();
        QTest::mouseClick(button(10), Qt::LeftButton);
        QCOMPARE(w.FileDialogs.Requests.last().StartName, folder.Path(u"mine.ini"_s));
        const Settings::TWindowSettings mine = Settings::Read(folder.Path(u"mine.ini"_s));
        QCOMPARE(mine.Colours[Settings::TreeColour], 1971210);
        QCOMPARE(mine.ReadOnly + mine.StayOnTop, u"falsetrue"_s);
        w.FileDialogs.Answer(folder.WriteBytes(u"o.ini"_s, "[Form]\r\nColor=0xFF\r\n[Options]\r\nNoBorder=true\r\n"));
        QTest::mouseClick(button(11), Qt::LeftButton);
        QCOMPARE(colourOf(w, u"TreeView1"_s, QPalette::Base), QColor(Qt::red));
        QVERIFY(dialog->OpenName().isEmpty());

        // Shown again after a file made the window borderless: the box says so.
        QTest::mouseClick(button(12), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        w.Find<QAction>(u"N3"_s)->trigger();
        QVERIFY(box(3)->isChecked());
    }

    void realColourDialog()
    {
        QColor seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            seen = box ? box->currentColor() : QColor();
            if (box) {
                box->setCurrentColor(QColor(200, 100, 50));
                box->accept();
            }
        });
        TQtColourDialog dialog;
        QCOMPARE(dialog.ChooseColour(nullptr, QColor(1, 2, 3)), std::optional<QColor>(QColor(200, 100, 50)));
        QCOMPARE(seen, QColor(1, 2, 3));
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
