// test_FileBrowser: the linked drive, folder and file lists.
#include <QTest>

class TestFileBrowser : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestFileBrowser)
#include "test_FileBrowser.moc"
