// test_application: a failure that escapes every handler is reported, and the event loop goes on;
// the real question box answers "Нет" unless "Да" is chosen.
#include "Application.h"
#include "KsError.h"
#include "Messages.h"

#include <QMessageBox>
#include <QPushButton>
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
        TMessageBoxes boxes;
        // Enter, then a click on "Да". What the box shows is compared once it is closed.
        for (const bool yes : { false, true }) {
            QStringList buttons;
            QString defaultButton;
            QTimer::singleShot(0, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                for (QAbstractButton *b : box->buttons()) {
                    buttons << b->text();
                    if (yes && b->text() == u"Да"_s)
                        QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
                }
                defaultButton = box->defaultButton()->text();
                if (!yes)
                    QTest::keyClick(box, Qt::Key_Return);
            });
            QCOMPARE(boxes.Ask(u"Заменить?"_s), yes);
            buttons.sort();
            QCOMPARE(buttons, (QStringList{ u"Да"_s, u"Нет"_s }));
            QCOMPARE(defaultButton, u"Нет"_s);
        }
    }
};

int main(int argc, char *argv[])
{
    TKestruneApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
