// test_Unit5: the quick-load manager dialog.
#include "app/MainWindowFixture.h"

#include "FileBrowser.h"
#include "Unit5.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestUnit5 : public QObject
{
    Q_OBJECT

private:
    struct TManager
    {
        TProgramFolder Folder;
        TWindowUnderTest W;
        TForm5 *Form = nullptr;
        QListWidget *ListBox1 = nullptr;
        QLineEdit *Edit1 = nullptr;
        QLineEdit *Edit2 = nullptr;

        bool Create()
        {
            Folder.WriteLines(u"list.lst"_s, albumBlock(u"Start"_s, QString(), QString()));
            W.Create();
            if (!W.ShowAndLoad())
                return false;
            Form = W.Form->Form5();
            ListBox1 = Form->findChild<QListWidget *>(u"ListBox1"_s);
            Edit1 = Form->findChild<QLineEdit *>(u"Edit1"_s);
            Edit2 = Form->findChild<QLineEdit *>(u"Edit2"_s);
            return ListBox1 && Edit1 && Edit2;
        }
        void Show()
        {
            Form->ShowManager();
            QVERIFY(QTest::qWaitForWindowExposed(Form));
        }
        void Press(const QString &button) { QTest::mouseClick(Form->findChild<QPushButton *>(button), Qt::LeftButton); }
        /// Fills the two fields as the user would (the file field is read-only) and presses a button.
        void Enter(const QString &name, const QString &path, const QString &button)
        {
            Edit1->setText(name);
            Edit2->setText(path);
            Press(button);
        }
        void ClickEntry(int row)
        {
            QTest::mouseClick(ListBox1->viewport(), Qt::LeftButton, {}, ListBox1->visualItemRect(ListBox1->item(row)).center());
        }
        void DoubleClickEntry(int row)
        {
            const QPoint at = ListBox1->visualItemRect(ListBox1->item(row)).center();
            QTest::mouseClick(ListBox1->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(ListBox1->viewport(), Qt::LeftButton, {}, at);
        }
        QStringList Shown() const
        {
            QStringList out;
            for (int i = 0; i < ListBox1->count(); ++i)
                out << ListBox1->item(i)->text();
            return out;
        }
        QByteArray Index() const
        {
            QFile f(Folder.Path(u"main.lis"_s));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
        }
        QStringList Combo() const
        {
            auto *combo = W.Find<QComboBox>(u"ComboBox1"_s);
            QStringList out;
            for (int i = 0; i < combo->count(); ++i)
                out << combo->itemText(i);
            return out;
        }
    };

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void captionsAndFrame()
    {
        TManager m;
        QVERIFY(m.Create());
        m.Show();
        QCOMPARE(m.Form->windowTitle(), u"Создание списка быстрой загрузки"_s);
        QVERIFY(!m.Form->isModal());
        QCOMPARE(m.Form->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(m.Form->width() >= 512 && m.Form->height() >= 312);
        QCOMPARE(m.Form->minimumSize(), m.Form->maximumSize());
        QString clipped;
        QVERIFY2(CaptionsFit(m.Form, &clipped), qPrintable(clipped));
        QVERIFY(m.Edit2->isReadOnly() && !m.Edit1->isReadOnly());
        QCOMPARE(m.Form->findChild<QLabel *>(u"Label1"_s)->buddy(), m.Edit1);
        QCOMPARE(m.Form->findChild<QLabel *>(u"Label1"_s)->text(), u"Название"_s);
        QCOMPARE(m.Form->findChild<QLabel *>(u"Label2"_s)->buddy(), m.Edit2);
        QCOMPARE(m.Form->findChild<QLabel *>(u"Label2"_s)->text(), u"Файл"_s);
        const QList<std::pair<QString, QString>> buttons{ { u"Button1"_s, u"Добавить"_s }, { u"Button4"_s, u"Изменить"_s },
                                                           { u"Button3"_s, u"Очистить"_s }, { u"Button2"_s, u"Закрыть"_s } };
        for (const auto &[name, caption] : buttons) {
            auto *b = m.Form->findChild<QPushButton *>(name);
            QVERIFY2(b && b->isVisible(), qPrintable(name));
            QCOMPARE(b->text(), caption);
        }
        QVERIFY(m.Form->findChild<TDriveComboBox *>(u"DriveComboBox1"_s)->isVisible());
        QVERIFY(m.Form->findChild<TDirectoryListBox *>(u"DirectoryListBox1"_s)->isVisible());
        QCOMPARE(m.Form->findChild<TFileListBox *>(u"FileListBox1"_s)->Mask(), u"*.lst"_s);
        // Every control lies inside the client area.
        for (QWidget *child : m.Form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(m.Form->rect().contains(child->geometry()), qPrintable(child->objectName()));
    }

    void showEditCloseWritesAndReloads()
    {
        TManager m;
        m.Folder.WriteLines(u"main.lis"_s, { u"Рок {C:\\rock.lst}"_s, u"Jazz {/lists/jazz.lst}"_s });
        QVERIFY(m.Create());
        QCOMPARE(m.Combo(), (QStringList{ u"Рок "_s, u"Jazz "_s }));
        m.Show();
        QCOMPARE(m.Shown(), (QStringList{ u"Рок {C:\\rock.lst}"_s, u"Jazz {/lists/jazz.lst}"_s }));

        m.ClickEntry(0);
        QCOMPARE(m.Edit1->text(), u"Рок"_s);
        QCOMPARE(m.Edit2->text(), u"C:\\rock.lst"_s);
        m.Enter(u" Блюз "_s, u"/lists/blues.lst"_s, u"Button1"_s);
        m.Enter(u"Empty"_s, QString(), u"Button1"_s);
        QCOMPARE(m.Shown().size(), 4);
        QCOMPARE(m.Index(), QByteArray("\xd0\xee\xea {C:\\rock.lst}\r\nJazz {/lists/jazz.lst}\r\n")); // not yet written

        m.Press(u"Button2"_s);
        QVERIFY(!m.Form->isVisible());
        QCOMPARE(m.Index(), QByteArray("\xd0\xee\xea {C:\\rock.lst}\r\nJazz {/lists/jazz.lst}\r\n"
                                       " \xc1\xeb\xfe\xe7  {/lists/blues.lst}\r\nEmpty {}\r\n"));
        QCOMPARE(m.Combo(), (QStringList{ u"Рок "_s, u"Jazz "_s, u" Блюз  "_s, u"Empty "_s }));
        QCOMPARE(m.W.Form->QuickLoadFiles().at(2), u"/lists/blues.lst"_s);
        QVERIFY(m.W.Messages.Errors.isEmpty());
        QVERIFY(m.W.Messages.Messages.isEmpty());
    }

    void changeReplacesTheRememberedPosition()
    {
        TManager m;
        m.Folder.WriteLines(u"main.lis"_s, { u"A {a.lst}"_s, u"B {b.lst}"_s, u"C {c.lst}"_s });
        QVERIFY(m.Create());
        m.Show();
        // Before any click: the first entry.
        m.Enter(u"First"_s, u"1.lst"_s, u"Button4"_s);
        QCOMPARE(m.Shown(), (QStringList{ u"First {1.lst}"_s, u"B {b.lst}"_s, u"C {c.lst}"_s }));

        // Click the second entry, double-click it away: "Изменить" replaces the one that moved up.
        m.ClickEntry(1);
        QCOMPARE(m.Edit1->text(), u"B"_s);
        m.DoubleClickEntry(1);
        QCOMPARE(m.Shown(), (QStringList{ u"First {1.lst}"_s, u"C {c.lst}"_s }));
        m.Enter(u"Moved"_s, u"m.lst"_s, u"Button4"_s);
        QCOMPARE(m.Shown(), (QStringList{ u"First {1.lst}"_s, u"Moved {m.lst}"_s }));
        m.DoubleClickEntry(1);
        m.Enter(u"Nothing"_s, u"n.lst"_s, u"Button4"_s);
        QCOMPARE(m.Shown(), QStringList{ u"First {1.lst}"_s });
        QVERIFY(m.W.Messages.Messages.isEmpty());

        // The arrow keys move the remembered position as clicks do.
        m.Enter(u"Second"_s, u"2.lst"_s, u"Button1"_s);
        m.ClickEntry(0);
        QTest::keyClick(m.ListBox1, Qt::Key_Down);
        QCOMPARE(m.Edit1->text(), u"Second"_s);
        m.Enter(u"Last"_s, u"l.lst"_s, u"Button4"_s);
        QCOMPARE(m.Shown(), (QStringList{ u"First {1.lst}"_s, u"Last {l.lst}"_s }));
    }

    void blankNameShowsTheMessage()
    {
        TManager m;
        m.Folder.WriteLines(u"main.lis"_s, { u"A {a.lst}"_s });
        QVERIFY(m.Create());
        m.Show();
        m.Enter(u"   "_s, u"x.lst"_s, u"Button1"_s);
        m.Enter(QString(), u"x.lst"_s, u"Button4"_s);
        QCOMPARE(m.W.Messages.Messages, (QStringList{ u"Введите название списка"_s, u"Введите название списка"_s }));
        QCOMPARE(m.Shown(), QStringList{ u"A {a.lst}"_s });
    }

    void clearAndCloseBoxLeaveAnEmptyIndex()
    {
        TManager m;
        m.Folder.WriteLines(u"main.lis"_s, { u"A {a.lst}"_s, u"B {b.lst}"_s });
        QVERIFY(m.Create());
        m.Show();
        m.Press(u"Button3"_s);
        QVERIFY(m.Shown().isEmpty());
        QCOMPARE(m.Index(), QByteArray("A {a.lst}\r\nB {b.lst}\r\n")); // nothing written before the close
        m.Form->close(); // the close box
        QVERIFY(!m.Form->isVisible());
        QCOMPARE(m.Index(), QByteArray());
        QVERIFY(m.Combo().isEmpty());
        QVERIFY(m.W.Form->QuickLoadFiles().isEmpty());
    }

    void escapeClosesAndWrites()
    {
        TManager m;
        QVERIFY(m.Create()); // no main.lis
        m.Show();
        QVERIFY(m.Shown().isEmpty());
        m.Enter(u"Новый"_s, u"/n.lst"_s, u"Button1"_s);
        // An open dialog keeps its entries when shown again.
        m.Form->ShowManager();
        QCOMPARE(m.Shown(), QStringList{ u"Новый {/n.lst}"_s });
        QTest::keyClick(m.Edit1, Qt::Key_Escape);
        QVERIFY(!m.Form->isVisible());
        QCOMPARE(m.Index(), QByteArray("\xcd\xee\xe2\xfb\xe9 {/n.lst}\r\n"));
        QCOMPARE(m.Combo(), QStringList{ u"Новый "_s });
    }

    void doubleClickOnAFileFillsThePath()
    {
        TManager m;
        m.Folder.WriteLines(u"rock.lst"_s, {});
        m.Folder.WriteLines(u"notes.txt"_s, {});
        QVERIFY(m.Create());
        m.Show();
        auto *files = m.Form->findChild<TFileListBox *>(u"FileListBox1"_s);
        auto *folders = m.Form->findChild<TDirectoryListBox *>(u"DirectoryListBox1"_s);
        folders->SetDirectory(QDir::toNativeSeparators(QDir(m.Folder.Folder()).absolutePath()));
        QCOMPARE(files->Names(), (QStringList{ u"list.lst"_s, u"rock.lst"_s }));
        m.Edit2->setText(u"old"_s);
        const QPoint below = files->visualItemRect(files->item(1)).bottomLeft() + QPoint(2, 10);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, below); // on no file: nothing
        QCOMPARE(m.Edit2->text(), u"old"_s);
        const QPoint at = files->visualItemRect(files->item(1)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m.Edit2->text(), QDir::toNativeSeparators(QDir(m.Folder.Folder()).absolutePath()) + u"/rock.lst"_s);
    }

    void failedWriteIsReportedAndTheEntriesKept()
    {
        TManager m;
        m.Folder.WriteLines(u"main.lis"_s, { u"Old {o.lst}"_s });
        QVERIFY(m.Create());
        m.Show();
        m.Enter(u"New"_s, u"n.lst"_s, u"Button1"_s);
        // The program folder is gone by the time the dialog closes.
        const QString missing = m.Folder.Folder() + u"gone/"_s;
        Paths::setProgramFolder(missing);
        m.Press(u"Button2"_s);
        QCOMPARE(m.W.Messages.Errors, QStringList{ u"Cannot create file "_s + missing + u"main.lis."_s });
        QCOMPARE(m.Combo(), QStringList{ u"Old "_s }); // not reloaded

        // Shown again, the dialog still has the unsaved entries rather than the older file.
        Paths::setProgramFolder(m.Folder.Folder());
        m.Show();
        QCOMPARE(m.Shown(), (QStringList{ u"Old {o.lst}"_s, u"New {n.lst}"_s }));
        m.Press(u"Button2"_s);
        QCOMPARE(m.W.Messages.Errors.size(), 1);
        QCOMPARE(m.Index(), QByteArray("Old {o.lst}\r\nNew {n.lst}\r\n"));
        QCOMPARE(m.Combo(), (QStringList{ u"Old "_s, u"New "_s }));
    }
};

QTEST_MAIN(TestUnit5)
#include "test_Unit5.moc"
