// tst_ListSearch: search in the open list and quick-load entries.
#include <QTest>

class TstListSearch : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(TstListSearch)
#include "tst_ListSearch.moc"
