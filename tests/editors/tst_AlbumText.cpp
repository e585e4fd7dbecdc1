// tst_AlbumText: composing album and track text.
#include <QTest>

class TstAlbumText : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(TstAlbumText)
#include "tst_AlbumText.moc"
