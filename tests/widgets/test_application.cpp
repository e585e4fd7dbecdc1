// test_application: a failure that escapes every handler is reported, and the event loop goes on;
// the real question box answers "Нет" unless "Да" is chosen.
#include "Application.h"
#include "KsError.h"
#include "Messages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
class TThrowingObject : public QObject
{
public:
    int Handled = 0;
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++Handled;
        throw KsError::cannotOpen(u"/lists/x.lst"_s);
    }
};
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void escapedFailureIsReported()
    {
        auto *app = static_cast<TKestruneApplication *>(QCoreApplication::instance());
        TRecordingMessages messages;
        app->SetMessages(&messages);
        TThrowingObject target;
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        app->SetMessages(nullptr);
        QCOMPARE(target.Handled, 2);
        QCOMPARE(messages.Errors, (QStringList{ u"Cannot open file /lists/x.lst."_s, u"Cannot open file /lists/x.lst."_s }));
    }

    void questionDefaultsToNo()
    {
        // Enter takes the default; the buttons are compared once the box has closed.
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            for (const QAbstractButton *b : box->buttons())
                buttons << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!TMessageBoxes().Ask(u"Заменить?"_s));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{ u"Да"_s, u"Нет"_s }));
    }
};

int main(int argc, char *argv[])
{
    TKestruneApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
