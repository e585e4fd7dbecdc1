// test_filedialogs: the toolkit's file dialog as the program runs it, and a fake that refuses what it refuses.
#include "Application.h"
#include "FileDialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestFileDialogs : public QObject
{
    Q_OBJECT

    // Types a name into the open file dialog and presses its accept button, as a user does.
    static void typeAndAccept(const QStringList &names, QString *directory, QString *acceptCaption)
    {
        QTimer::singleShot(0, [=] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            *directory = dialog->directory().absolutePath();
            auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            auto *buttons = dialog->findChild<QDialogButtonBox *>(u"buttonBox"_s);
            QVERIFY(edit && buttons);
            QPushButton *accept = buttons->button(QDialogButtonBox::Open);
            *acceptCaption = accept->text();
            for (const QString &name : names) {
                edit->setText(name);
                accept->click();
            }
            if (dialog->isVisible())
                dialog->reject();
        });
    }

private slots:
    void initTestCase() { QVERIFY2(TKestruneApplication::LoadQtTranslations(), "Qt's Russian translations"); }

    void realOpenDialogTakesAnyName()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        TQtFileDialogs dialogs;
        dialogs.SetStartFolder([&] { return dir.path(); });

        // A name without an extension comes back, for the caller's rule to complete.
        QString directory, caption;
        typeAndAccept({ u"mylist"_s }, &directory, &caption);
        std::optional<TFileChoice> choice = dialogs.OpenFile(nullptr, u"Список музыкальных файлов|*.lst"_s);
        QCOMPARE(directory, dir.path());
        QCOMPARE(caption, u"&Открыть"_s);
        QVERIFY(choice);
        QCOMPARE(choice->Path, QDir::toNativeSeparators(dir.filePath(u"mylist"_s)));

        // A folder is opened, never returned.
        typeAndAccept({ u"sub"_s, u"a"_s }, &directory, &caption);
        choice = dialogs.OpenFile(nullptr, u"Список|*.lst"_s);
        QVERIFY(choice);
        QCOMPARE(choice->Path, QDir::toNativeSeparators(dir.filePath(u"sub/a"_s)));
    }

    void realSaveDialogStartsWithTheName()
    {
        QTemporaryDir dir;
        TQtFileDialogs dialogs;
        dialogs.SetStartFolder([&] { return dir.path(); });
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->text();
            dialog->findChild<QDialogButtonBox *>(u"buttonBox"_s)->button(QDialogButtonBox::Save)->click();
        });
        const std::optional<TFileChoice> choice =
            dialogs.SaveFile(nullptr, u"INI файлы|*.ini"_s, 0, dir.filePath(u"mine.ini"_s));
        QCOMPARE(shown, u"mine.ini"_s);
        QVERIFY(choice);
        QCOMPARE(choice->Path, QDir::toNativeSeparators(dir.filePath(u"mine.ini"_s)));
    }

    void fakeRefusesWhatTheRealOneNeverReturns()
    {
        QTemporaryDir dir;
        TScriptedFileDialogs fake;
        fake.SetStartFolder([&] { return dir.path(); });
        for (const QString &refused : { u"mylist"_s, dir.path(), QString() }) {
            fake.Answer(refused);
            QVERIFY_THROWS_EXCEPTION(std::logic_error, fake.OpenFile(nullptr, u"Список|*.lst"_s));
        }
        fake.Answer(dir.filePath(u"mylist"_s));
        QCOMPARE(fake.OpenFile(nullptr, u"Список|*.lst"_s)->Path, dir.filePath(u"mylist"_s));
        QCOMPARE(fake.Requests.last().StartFolder, dir.path());
    }
};

QTEST_MAIN(TestFileDialogs)
#include "test_filedialogs.moc"
