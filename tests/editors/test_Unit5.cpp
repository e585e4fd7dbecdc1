// test_Unit5: the quick-load manager dialog.
#include <QTest>

class TestUnit5 : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestUnit5)
#include "test_Unit5.moc"
