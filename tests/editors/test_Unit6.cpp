// test_Unit6: the search dialog.
#include <QTest>

class TestUnit6 : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestUnit6)
#include "test_Unit6.moc"
