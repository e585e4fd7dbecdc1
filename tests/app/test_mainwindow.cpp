// test_mainwindow: the main window's controls, start-up, quick load and browsing, on recording fakes.
#include "MainWindowFixture.h"

#include "CatalogueTree.h"
#include "He1.h"
#include "ImageView.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    static QUrl fileUrl(const QString &path) { return QUrl::fromLocalFile(path); }
    static QStringList texts(const QList<QAction *> &actions)
    {
        QStringList out;
        for (QAction *a : actions)
            out << (a->isSeparator() ? u"-"_s : a->text());
        return out;
    }

private slots:
    void init() { QCoreApplication::setApplicationName(u"Kestrune"_s); }

    void layoutAndCaptions()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QCOMPARE(w.Form->windowTitle(), u"Kestrune v. 0.98"_s);
        QVERIFY(w.ShowAndLoad());

        // Bottom strip, left to right, flat, with the three hints.
        const QStringList names{ u"SpeedButton1"_s, u"SpeedButton6"_s, u"SpeedButton2"_s, u"SpeedButton4"_s,
                                 u"SpeedButton3"_s };
        const QStringList captions{ u"Открыть"_s, u"Сохранить"_s, u"Создать"_s, u"Свернуть"_s, u"Меню"_s };
        const QStringList hints{ u"Открыть список"_s, u"Сохранить список"_s, u"Создать новый список"_s, QString(),
                                 QString() };
        int lastX = -1;
        for (int i = 0; i < names.size(); ++i) {
            auto *b = w.Find<QToolButton>(names[i]);
            QVERIFY2(b, qPrintable(names[i]));
            QCOMPARE(b->text(), captions[i]);
            QCOMPARE(b->toolTip(), hints[i]);
            QVERIFY(b->autoRaise());
            QVERIFY(b->isVisible());
            const int x = b->mapTo(w.Form.get(), QPoint()).x();
            QVERIFY(x > lastX);
            lastX = x;
        }
        auto *plus = w.Find<QToolButton>(u"SpeedButton5"_s);
        auto *combo = w.Find<QComboBox>(u"ComboBox1"_s);
        QVERIFY(plus && combo);
        QCOMPARE(plus->text(), u"+"_s);
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->maxVisibleItems(), 10);
        QVERIFY(plus->mapTo(w.Form.get(), QPoint()).x() > combo->mapTo(w.Form.get(), QPoint()).x());

        QCOMPARE(w.Find<QWidget>(u"Panel1"_s)->width(), 297);
        QCOMPARE(w.Find<QWidget>(u"Panel6"_s)->height(), 86);
        // Transport strip and chrome buttons exist but stay hidden.
        auto *transport = w.Find<QWidget>(u"Panel5"_s);
        QVERIFY(transport && !transport->isVisible());
        QCOMPARE(transport->width(), 21);
        for (const char16_t *hint : { u"Старт", u"Пауза", u"Стоп", u"Прибавить громкость", u"Убавить громкость" }) {
            bool found = false;
            for (QToolButton *b : transport->findChildren<QToolButton *>())
                found = found || b->toolTip() == QString::fromUtf16(hint);
            QVERIFY2(found, qPrintable(QString::fromUtf16(hint)));
        }
        QVERIFY(!w.Find<QWidget>(u"Panel7"_s)->isVisible());

        auto *tree = w.Find<THETreeView>(u"TreeView1"_s);
        QCOMPARE(tree->indentation(), 19);
        QVERIFY(tree->uniformRowHeights());
        QVERIFY(tree->ReadOnly());

        QStringList panelCaptions;
        for (int i = 1; i <= 5; ++i)
            panelCaptions << w.Find<QLabel>(u"Label%1"_s.arg(i))->text();
        QCOMPARE(panelCaptions, (QStringList{ u"Альбом:"_s, u"Композитор:"_s, u"Композиция:"_s,
                                              u"Продолжительность:"_s, u"URL:"_s }));
        auto *url = w.Find<QLabel>(u"Label10"_s);
        QVERIFY(url->font().bold() && url->font().underline());
        QCOMPARE(url->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(url->cursor().shape(), Qt::PointingHandCursor);

        auto *tabs = w.Find<QTabWidget>(u"PageControl1"_s);
        QCOMPARE(tabs->tabPosition(), QTabWidget::South);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), u"Описание"_s);
        QCOMPARE(tabs->tabText(1), u"Изображение"_s);
        QCOMPARE(tabs->tabText(2), u"Авторы..."_s);
    }

    void menusAndShortcuts()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        auto *context = w.Find<QMenu>(u"PopupMenu1"_s);
        QVERIFY(context);
        QCOMPARE(texts(context->actions()), (QStringList{ u"Воспроизвести"_s, u"Играть весь альбом"_s, u"Удалить"_s,
                                                          u"Информация"_s, u"ID3 tag"_s, u"-"_s, u"Поиск"_s,
                                                          u"Скрыть панель"_s }));
        QStringList contextNames;
        QStringList contextKeys;
        for (QAction *a : context->actions()) {
            contextNames << a->objectName();
            contextKeys << a->shortcut().toString();
        }
        QCOMPARE(contextNames, (QStringList{ u"N1"_s, u"N10"_s, u"N2"_s, u"N5"_s, u"ID3tag2"_s, u"N7"_s, u"N9"_s, u"N6"_s }));
        QCOMPARE(contextKeys, (QStringList{ QString(), QString(), u"Shift+Del"_s, u"F7"_s, u"F4"_s, QString(), u"F3"_s,
                                            u"F10"_s }));

        auto *menu = w.Find<QMenu>(u"PopupMenu2"_s);
        QVERIFY(menu);
        QStringList menuNames;
        for (QAction *a : menu->actions())
            menuNames << a->objectName();
        QCOMPARE(menuNames, (QStringList{ u"N11"_s, u"N12"_s, u"N13"_s, u"lstKestrune1"_s, u"N3"_s, u"HTML1"_s, u"M3U1"_s,
                                          u"N4"_s, u"N8"_s, u"ID3TAG1"_s }));
        QCOMPARE(texts(menu->actions()),
                 (QStringList{ u"Отменить"_s, u"Повторить"_s, u"-"_s, u"Связать файлы *.lst с Kestrune"_s, u"Настройки"_s,
                               u"Генерация HTML файла списка"_s, u"Экспорт в M3U"_s, u"Поиск файлов"_s, u"Сделать список используемым по умолчанию"_s,
                               u"Редактор ID3 тегов"_s }));

        const QList<std::pair<QString, QString>> actions{
            { u"SaveAction"_s, u"Ctrl+S"_s }, { u"NewList"_s, u"Ctrl+N"_s },      { u"OpenList"_s, u"Ctrl+O"_s },
            { u"CollapseAll"_s, u"Ctrl+C"_s }, { u"DiscriptionShow"_s, u"Ctrl+D"_s }, { u"ImageShow"_s, u"Ctrl+I"_s },
            { u"AboutShow"_s, u"Ctrl+A"_s },  { u"SelectList"_s, u"Ctrl+L"_s },   { u"Delete"_s, u"Shift+Del"_s },
            { u"Find"_s, u"F3"_s },       { u"N11"_s, u"Ctrl+Z"_s },           { u"N12"_s, u"Ctrl+Y"_s },
        };
        for (const auto &[name, keys] : actions) {
            auto *a = w.Find<QAction>(name);
            QVERIFY2(a, qPrintable(name));
            QCOMPARE(a->shortcut().toString(), keys);
            QVERIFY2(w.Form->actions().contains(a), qPrintable(name));
        }
    }

    void menuButtonPopsTheMainMenu()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *button = w.Find<QToolButton>(u"SpeedButton3"_s);
        auto *menu = w.Find<QMenu>(u"PopupMenu2"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(menu->isVisible());
        const QPoint expected = w.Form->frameGeometry().topLeft() + w.Find<QWidget>(u"Panel2"_s)->mapTo(w.Form.get(), QPoint())
            + button->pos() + QPoint(4, 0);
        QCOMPARE(menu->pos(), expected);
        menu->hide();
    }

    void startupChoosesTheList_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // relative to the program folder when it has no "/"
        QTest::newRow("no argument") << QStringList{} << u"list.lst"_s;
        QTest::newRow("blank argument") << QStringList{ u"   "_s } << u"list.lst"_s;
        QTest::newRow("argument with blanks") << QStringList{ u"  /lists/jazz.lst  "_s, u"x"_s } << u"/lists/jazz.lst"_s;
    }

    void startupJoinsANameInPieces()
    {
        // An unquoted "%1" hands "my rock.lst" over as two arguments.
        TProgramFolder folder;
        const QString file = folder.WriteLines(u"my rock.lst"_s, albumBlock(u"Рок"_s, {}, {}));
        TWindowUnderTest w;
        w.Create(file.split(u' '));
        QCOMPARE(w.Form->OpenList().ListFileName, file);
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->Tree().Root(0)->Text(), u"Рок"_s);
    }

    void startupChoosesTheList()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create(arguments);
        const QString path = expected.startsWith(u'/') ? expected : folder.Path(expected);
        QCOMPARE(w.Form->OpenList().ListFileName, path);
        QCOMPARE(w.Form->DefaultSettingsFile(), folder.Path(u"ks.ini"_s));
        // Nothing is loaded before the window has painted.
        QVERIFY(w.Form->FirstPaintPending());
        QVERIFY(w.Messages.Errors.isEmpty());
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Messages.Errors, QStringList{ u"Cannot open file "_s + path + u'.' });
        QCOMPARE(w.Form->Tree().NodeCount(), 0); // no placeholder after a failed load
        QVERIFY(!w.Form->TreeView()->Selected());
        QVERIFY(w.View->Urls.isEmpty());
    }

    void firstPaintLoadsOnce()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"a.htm"_s, "<p>a</p>");
        folder.WriteLines(u"list.lst"_s, albumBlock(u"Первый"_s, u"a.htm"_s, QString(), { { u"Раз"_s, QString() } })
                                             + albumBlock(u"Second"_s, QString(), QString()));
        folder.DescriptionTabInFront();
        TWindowUnderTest w;
        w.Create();
        QCOMPARE(w.Form->Tree().NodeCount(), 0);
        QVERIFY(w.ShowAndLoad());
        QVERIFY(w.Messages.Errors.isEmpty());
        QCOMPARE(w.Form->Tree().NodeCount(), 3);
        TTreeNode *first = w.Form->Tree().NodeByIndex(0);
        QCOMPARE(w.Form->TreeView()->Selected(), first);
        QCOMPARE(first->Text(), u"Первый"_s);
        // Loaded with the image tab in front; the settings then bring the description's tab forward.
        QCOMPARE(w.View->Urls, QList<QUrl>{ fileUrl(folder.Path(u"a.htm"_s)) });

        // Later paints never load again, even when the file has changed meanwhile.
        folder.WriteLines(u"list.lst"_s, albumBlock(u"Other"_s, QString(), QString()));
        w.Form->repaint();
        w.Form->update();
        QTest::qWait(50);
        QCOMPARE(w.Form->Tree().NodeCount(), 3);
        QCOMPARE(w.Form->Tree().NodeByIndex(0)->Text(), u"Первый"_s);
    }

    void emptyListShowsPlaceholder()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"list.lst"_s, QByteArray());
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QVERIFY(w.Messages.Errors.isEmpty());
        QCOMPARE(w.Form->Tree().NodeCount(), 1);
        QCOMPARE(w.Form->Tree().NodeByIndex(0)->Text(), u"{пусто}"_s);
        // Selecting the placeholder looks nothing up.
        w.Form->TreeView()->Select(w.Form->Tree().NodeByIndex(0));
        QVERIFY(w.View->Urls.isEmpty());
        QCOMPARE(w.Form->OpenList().CurrentAlbum.LineIndex, 0);
    }

    void badCountReportsAndKeepsPartialTree()
    {
        TProgramFolder folder;
        QStringList lines = albumBlock(u"One"_s, QString(), QString()) + albumBlock(u"Two"_s, QString(), QString());
        lines[13] = u"nt: x"_s; // second album's count line
        folder.WriteLines(u"list.lst"_s, lines);
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Messages.Errors, QStringList{ u"' x' is not a valid integer value."_s });
        QCOMPARE(w.Form->Tree().RootCount(), 2);
        QVERIFY(!w.Form->TreeView()->Selected());
    }

    void quickLoadIndex()
    {
        TProgramFolder folder;
        const QString jazz = folder.WriteLines(u"jazz.lst"_s, albumBlock(u"Kind of Blue"_s, QString(), QString()));
        folder.WriteLines(u"main.lis"_s, { u"Jazz {"_s + jazz + u'}', u"Пусто {  }"_s, u"Missing {/nowhere/x.lst}"_s });
        folder.WriteLines(u"list.lst"_s, albumBlock(u"Start"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        auto *combo = w.Find<QComboBox>(u"ComboBox1"_s);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), u"Jazz "_s);
        QCOMPARE(combo->itemText(1), u"Пусто "_s);
        QCOMPARE(w.Form->QuickLoadFiles(), (QStringList{ jazz, u"  "_s, u"/nowhere/x.lst"_s }));
        QVERIFY(w.ShowAndLoad());
        QCOMPARE(w.Form->Tree().NodeByIndex(0)->Text(), u"Start"_s);

        // Choosing with the arrow keys, as a user does.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(w.Form->OpenList().ListFileName, jazz);
        QCOMPARE(w.Form->Tree().NodeByIndex(0)->Text(), u"Kind of Blue"_s);
        QCOMPARE(w.Form->TreeView()->Selected(), w.Form->Tree().NodeByIndex(0));

        // A blank file name does nothing; a missing one is reported by the loader.
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(w.Form->OpenList().ListFileName, jazz);
        QVERIFY(w.Messages.Errors.isEmpty());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(w.Messages.Errors, QStringList{ u"Cannot open file /nowhere/x.lst."_s });
        QCOMPARE(w.Form->OpenList().ListFileName, jazz);
    }

    void missingQuickLoadIndexIsEmpty()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QCOMPARE(w.Find<QComboBox>(u"ComboBox1"_s)->count(), 0);
        QVERIFY(w.Form->QuickLoadFiles().isEmpty());
        QVERIFY(w.Messages.Errors.isEmpty());
    }

    void albumAndTrackDescriptions()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"a.htm"_s, "a");
        folder.WriteBytes(u"sub/t1.txt"_s, "t1");
        folder.WriteLines(u"list.lst"_s,
                          albumBlock(u"A"_s, u"a.htm"_s, QString(),
                                     { { u"T1"_s, u"sub\\t1.txt"_s }, { u"T2"_s, QString() }, { u"T3"_s, u"gone.txt"_s } })
                              + albumBlock(u"B"_s, QString(), QString()) + albumBlock(u"C"_s, u"missing.htm"_s, QString()));
        folder.DescriptionTabInFront();
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        TCatalogueTree &tree = w.Form->Tree();
        THETreeView *view = w.Form->TreeView();
        const QUrl a = fileUrl(folder.Path(u"a.htm"_s));
        QCOMPARE(w.View->Urls, QList<QUrl>{ a });

        // A track's stored backslashes name folders on this system.
        view->Select(tree.NodeByIndex(1));
        const QUrl t1 = fileUrl(folder.Path(u"sub/t1.txt"_s));
        QCOMPARE(w.View->Urls, (QList<QUrl>{ a, t1 }));
        QCOMPARE(w.Form->OpenList().CurrentTrack.Title, u"T1"_s);
        QCOMPARE(w.Form->OpenList().CurrentAlbum.Title, u"A"_s);
        QCOMPARE(w.Form->ShownDescription(), folder.Path(u"sub\\t1.txt"_s));
        // Siblings without a description, or with a missing one, keep it.
        view->Select(tree.NodeByIndex(2));
        view->Select(tree.NodeByIndex(3));
        QCOMPARE(w.View->Urls.size(), 2);
        QCOMPARE(w.Form->OpenList().CurrentTrack.Title, u"T3"_s);

        // Back to the album: its page again. Then albums without (or with a missing) page keep it.
        view->Select(tree.NodeByIndex(0));
        QCOMPARE(w.View->Urls.last(), a);
        view->Select(tree.Root(1));
        view->Select(tree.Root(2));
        QCOMPARE(w.View->Urls.size(), 3);
        QCOMPARE(w.Form->OpenList().CurrentAlbum.Title, u"C"_s);
        // Selecting the album already shown does not reload it.
        view->Select(tree.Root(0));
        QCOMPARE(w.View->Urls.size(), 3);
    }

    void descriptionOnlyOnItsTab()
    {
        TProgramFolder folder;
        folder.WriteBytes(u"a.htm"_s, "a");
        folder.WriteBytes(u"b.htm"_s, "b");
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, u"a.htm"_s, QString(), { { u"T"_s, QString() } })
                                             + albumBlock(u"B"_s, u"b.htm"_s, QString())
                                             + albumBlock(u"N"_s, QString(), QString()));
        folder.DescriptionTabInFront();
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *tabs = w.Find<QTabWidget>(u"PageControl1"_s);
        THETreeView *view = w.Form->TreeView();
        TCatalogueTree &tree = w.Form->Tree();
        QCOMPARE(w.View->Urls.size(), 1);
        // Selections on the description tab show their pages: B's, then A's again.
        view->Select(tree.Root(1));
        view->Select(tree.Root(0));
        QCOMPARE(w.View->Urls.size(), 3);
        QCOMPARE(w.Form->ShownDescription(), folder.Path(u"a.htm"_s));

        // On another tab the selection leaves the view alone; the tab handler catches up.
        tabs->setCurrentIndex(2);
        view->Select(tree.Root(1));
        QCOMPARE(w.View->Urls.size(), 3);
        tabs->setCurrentIndex(0);
        QCOMPARE(w.View->Urls.last(), fileUrl(folder.Path(u"b.htm"_s)));
        QCOMPARE(w.Form->ShownDescription(), folder.Path(u"a.htm"_s)); // the tab handler never changes it

        // An album without a page, shown through the tab: an empty page, never the file system's root.
        tabs->setCurrentIndex(2);
        view->Select(tree.Root(2));
        tabs->setCurrentIndex(0);
        QCOMPARE(w.View->Urls.last().toString(), u"about:blank"_s);

        // A track selected: the tab prefers its own page when it has one, else the album's.
        tabs->setCurrentIndex(2);
        view->Select(tree.NodeByIndex(1));
        const qsizetype before = w.View->Urls.size();
        tabs->setCurrentIndex(0);
        QCOMPARE(w.View->Urls.size(), before); // album A's page is the one shown
    }

    void descriptionAddresses()
    {
        // Names that an address would otherwise cut or misread survive the way to the view.
        for (const QString &path : { u"/music/a#1.htm"_s, u"/music/50% off.txt"_s, u"/music/Зима?.htm"_s }) {
            const QUrl url = DescriptionUrl(path);
            QCOMPARE(url.scheme(), u"file"_s);
            QCOMPARE(url.toLocalFile(), path);
        }
        QCOMPARE(DescriptionUrl(u"  "_s).toString(), u"about:blank"_s);
    }

    void noDescriptionEverShown()
    {
        TProgramFolder folder;
        folder.WriteLines(u"list.lst"_s, albumBlock(u"N"_s, QString(), QString()));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *tabs = w.Find<QTabWidget>(u"PageControl1"_s);
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        QVERIFY(w.View->Urls.isEmpty());
    }

    void imageView()
    {
        TProgramFolder folder;
        QImage cover(40, 30, QImage::Format_RGB32);
        cover.fill(Qt::red);
        QVERIFY(cover.save(folder.Path(u"cover.png"_s)));
        QImage other(12, 10, QImage::Format_RGB32);
        other.fill(Qt::green);
        QVERIFY(other.save(folder.Path(u"other.bmp"_s)));
        folder.WriteBytes(u"bad.xyz"_s, "not a picture");
        folder.WriteLines(u"list.lst"_s, albumBlock(u"P"_s, QString(), u"cover.png"_s)
                                             + albumBlock(u"None"_s, QString(), QString())
                                             + albumBlock(u"Gone"_s, QString(), u"gone.jpg"_s)
                                             + albumBlock(u"Bad"_s, QString(), u"bad.xyz"_s)
                                             + albumBlock(u"Q"_s, QString(), u"other.bmp"_s));
        folder.DescriptionTabInFront();
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *tabs = w.Find<QTabWidget>(u"PageControl1"_s);
        auto *image = w.Find<TImageView>(u"Image1"_s);
        THETreeView *view = w.Form->TreeView();
        TCatalogueTree &tree = w.Form->Tree();
        // The list loads with the image tab in front; the settings then bring the description's tab forward.
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(image->Picture().size(), QSize(40, 30));

        // An album without an image hides the view on any tab; the image tab shows the next cover.
        view->Select(tree.Root(1));
        QVERIFY(image->isHidden());
        view->Select(tree.Root(0));
        QVERIFY(image->isHidden());
        QTest::keyClick(w.Form.get(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(!image->isHidden());
        QCOMPARE(image->Picture().size(), QSize(40, 30));
        QCOMPARE(image->Picture().pixelColor(0, 0), QColor(Qt::red));

        // While the image tab is in front, selections load their covers.
        view->Select(tree.Root(4));
        QCOMPARE(image->Picture().size(), QSize(12, 10));
        view->Select(tree.Root(2));
        QVERIFY(image->isHidden());
        view->Select(tree.Root(0));
        QVERIFY(!image->isHidden());
        QCOMPARE(image->Picture().size(), QSize(40, 30));

        // A picture the decoders refuse is reported; the view keeps what it showed.
        view->Select(tree.Root(3));
        QCOMPARE(w.Messages.Errors, QStringList{ u"Unknown picture file extension (.xyz)"_s });
        QVERIFY(!image->isHidden());
        QCOMPARE(image->Picture().size(), QSize(40, 30));

        // The about tab: no picture work, but a missing image still hides the view.
        QTest::keyClick(w.Form.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 2);
        view->Select(tree.Root(4));
        QCOMPARE(image->Picture().size(), QSize(40, 30));
        view->Select(tree.Root(1));
        QVERIFY(image->isHidden());
        QTest::keyClick(w.Form.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void urlValueOpensThroughTheShell()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        auto *url = w.Find<QLabel>(u"Label10"_s);
        url->setText(QString());
        QTest::mouseClick(url, Qt::LeftButton);
        QVERIFY(w.Shell.Opened.isEmpty());
        url->setText(u"http://example.org/band"_s);
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(w.Shell.Opened, QStringList{ u"http://example.org/band"_s });
    }

    void aboutLinksOpenTheirText()
    {
        TProgramFolder folder;
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        QTest::keyClick(w.Form.get(), Qt::Key_A, Qt::ControlModifier);
        QWidget *page = w.Find<QWidget>(u"TabSheet3"_s);
        QStringList links;
        for (QLabel *l : page->findChildren<QLabel *>())
            if (l->cursor().shape() == Qt::PointingHandCursor) {
                QTest::mouseClick(l, Qt::LeftButton);
                links << l->text();
            }
        QCOMPARE(links.size(), 3);
        QCOMPARE(w.Shell.Opened, links);
        QCOMPARE(page->findChild<QLabel *>(u"Label11"_s)->text(), u"Kestrune v. 0.98"_s);
        QVERIFY(page->findChild<QLabel *>(u"Label17"_s)->text().contains(u"GNU General Public License версии 3"_s));
    }

    void keyboardActions()
    {
        TProgramFolder folder;
        folder.WriteLines(u"main.lis"_s, { u"One {x.lst}"_s });
        folder.WriteLines(u"list.lst"_s, albumBlock(u"A"_s, QString(), QString(), { { u"T"_s, QString() } })
                                             + albumBlock(u"B"_s, QString(), QString(), { { u"U"_s, QString() } }));
        TWindowUnderTest w;
        w.Create();
        QVERIFY(w.ShowAndLoad());
        w.Form->activateWindow();
        THETreeView *tree = w.Form->TreeView();
        tree->expandAll();
        tree->setFocus();
        QTRY_VERIFY(tree->hasFocus());

        // Ctrl+C collapses even while the tree has the focus; so does the button.
        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!tree->isExpanded(w.Form->Tree().IndexOf(w.Form->Tree().Root(0))));
        tree->expandAll();
        QTest::mouseClick(w.Find<QToolButton>(u"SpeedButton4"_s), Qt::LeftButton);
        QVERIFY(!tree->isExpanded(w.Form->Tree().IndexOf(w.Form->Tree().Root(1))));

        // Ctrl+L opens the quick-load list; Ctrl+S typed into it goes back to the tree.
        auto *combo = w.Find<QComboBox>(u"ComboBox1"_s);
        w.Find<QAction>(u"SelectList"_s)->trigger();
        QTRY_VERIFY(combo->view()->isVisible());
        QCOMPARE(w.Form->focusWidget(), combo); // the list view is a popup of its own
        QTest::keyClick(combo->view(), Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!combo->view()->isVisible());
        QTRY_VERIFY(tree->hasFocus());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
