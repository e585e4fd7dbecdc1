// test_PropertyDialogs: the album and track property dialogs.
#include <QTest>

class TestPropertyDialogs : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestPropertyDialogs)
#include "test_PropertyDialogs.moc"
