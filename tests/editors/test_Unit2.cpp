// test_Unit2: the album builder dialog.
#include <QTest>

class TestUnit2 : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestUnit2)
#include "test_Unit2.moc"
