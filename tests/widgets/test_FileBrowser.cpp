// test_FileBrowser: the linked drive, folder and file lists.
#include "FileBrowser.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
}

QStringList folderTexts(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

const QString AudioMask = u"*.mp3;*.wav;*.mid;*.cda"_s;

} // namespace

class TestFileBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root; // native, no trailing separator

    QString in(const QString &name) const { return m_root + QDir::separator() + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = QDir::toNativeSeparators(QDir(m_dir.path()).canonicalPath());
        QDir d(m_root);
        for (const QString &sub : { u"gamma"_s, u"Beta"_s, u"alpha"_s, u"folder.mp3"_s, u".hidden"_s })
            QVERIFY(d.mkdir(sub));
        for (const QString &name : { u"b.MP3"_s, u"A.mp3"_s, u"c.wav"_s, u"d.txt"_s, u"e.Mid"_s, u"a.mp3.bak"_s,
                                     u"Track.cda"_s, u".secret.mp3"_s })
            touch(d.filePath(name));
        touch(d.filePath(u"alpha/inside.wav"_s));
    }

    void maskOrderAndCase()
    {
        TFileListBox files;
        files.SetMask(AudioMask);
        files.SetDirectory(m_root);
        // Patterns ignore case, folders and hidden files stay out, the order ignores case.
        QCOMPARE(files.Names(), (QStringList{ u"A.mp3"_s, u"b.MP3"_s, u"c.wav"_s, u"e.Mid"_s, u"Track.cda"_s }));
        files.SetMask(u"*.txt"_s);
        QCOMPARE(files.Names(), QStringList{ u"d.txt"_s });
        files.SetMask(u" *.wav ; ;*.TXT"_s);
        QCOMPARE(files.Names(), (QStringList{ u"c.wav"_s, u"d.txt"_s }));
    }

    void selectionSignalsAndFullPath()
    {
        TFileListBox files;
        files.SetMask(AudioMask);
        files.SetDirectory(m_root + QDir::separator()); // a trailing separator is dropped
        QCOMPARE(files.Directory(), m_root);
        QSignalSpy selected(&files, &TFileListBox::FileSelected);
        QSignalSpy doubled(&files, &TFileListBox::FileDoubleClicked);
        files.SelectName(u"c.wav"_s);
        QCOMPARE(files.SelectedName(), u"c.wav"_s);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), in(u"c.wav"_s));

        // Re-reading keeps the selection without announcing it again; a vanished file drops it.
        touch(in(u"aa.mp3"_s));
        files.Update();
        QCOMPARE(files.SelectedName(), u"c.wav"_s);
        QCOMPARE(files.Names().at(1), u"aa.mp3"_s);
        QCOMPARE(selected.size(), 1);
        QVERIFY(QFile::remove(in(u"aa.mp3"_s)));

        files.show();
        QVERIFY(QTest::qWaitForWindowExposed(&files));
        const QRect r = files.visualItemRect(files.item(0));
        QTest::mouseClick(files.viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(files.viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled.at(0).at(0).toString(), in(u"A.mp3"_s));

        // A root folder joins with a single separator.
        files.SetDirectory(QDir::rootPath());
        QCOMPARE(files.FullPath(u"x.mp3"_s), QDir::toNativeSeparators(QDir::rootPath()) + u"x.mp3"_s);
    }

    void missingOrUnreadableFolderShowsNothing()
    {
        TFileListBox files;
        files.SetDirectory(in(u"no such folder"_s));
        QVERIFY(files.Names().isEmpty());
        QCOMPARE(files.FullPath(u"a.mp3"_s), in(u"no such folder/a.mp3"_s));

        TDirectoryListBox folders;
        folders.SetDirectory(in(u"no such folder/deeper"_s)); // the nearest existing folder opens
        QCOMPARE(folders.Directory(), m_root);

        QDir(m_root).mkdir(u"locked"_s);
        QFile::setPermissions(in(u"locked"_s), QFileDevice::Permissions());
        if (QDir(in(u"locked"_s)).isReadable()) {
            QDir(m_root).rmdir(u"locked"_s);
            QSKIP("this user reads every folder");
        }
        touch(in(u"locked/x.mp3"_s));
        folders.SetDirectory(in(u"locked"_s));
        QCOMPARE(folders.item(folders.count() - 1)->text(), u"locked"_s);
        files.SetDirectory(in(u"locked"_s));
        QVERIFY(files.Names().isEmpty());
        QFile::setPermissions(in(u"locked"_s), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
        QDir(m_root).rmdir(u"locked"_s);
    }

    void folderListShowsParentsThenSubfolders()
    {
        TDirectoryListBox folders;
        QSignalSpy changed(&folders, &TDirectoryListBox::DirectoryChanged);
        folders.SetDirectory(m_root);
        QCOMPARE(changed.size(), 1);
        folders.SetDirectory(m_root + QDir::separator());
        QCOMPARE(changed.size(), 1); // the same folder

        QStringList expected{ QDir::toNativeSeparators(QDir::rootPath()) };
        expected << m_root.split(QDir::separator(), Qt::SkipEmptyParts);
        expected << u"alpha"_s << u"Beta"_s << u"folder.mp3"_s << u"gamma"_s;
        QCOMPARE(folderTexts(folders), expected);
        // The open folder is the current row.
        QCOMPARE(folders.currentItem()->text(), QDir(m_root).dirName());
    }

    void linkedControlsFollowEachOther()
    {
        TDriveComboBox drives;
        TDirectoryListBox folders;
        TFileListBox files;
        files.SetMask(AudioMask);
        QVERIFY(drives.count() >= 1);
        QCOMPARE(drives.itemData(0).toString(), QDir::toNativeSeparators(QDir::rootPath()));
        LinkFileBrowser(&drives, &folders, &files);
        QCOMPARE(files.Directory(), folders.Directory());

        QSignalSpy driveChanged(&drives, &TDriveComboBox::DriveChanged);
        folders.SetDirectory(m_root);
        QCOMPARE(files.Directory(), m_root);
        QCOMPARE(files.Names().size(), 5);
        QVERIFY(m_root.startsWith(drives.Drive()));
        QCOMPARE(driveChanged.size(), 0); // following the folder is not a choice of the user

        // Enter on a subfolder opens it and fills the file list.
        folders.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folders));
        folders.setCurrentRow(folderTexts(folders).indexOf(u"alpha"_s));
        QTest::keyClick(&folders, Qt::Key_Return);
        QCOMPARE(folders.Directory(), in(u"alpha"_s));
        QCOMPARE(files.Names(), QStringList{ u"inside.wav"_s });

        // Choosing a drive opens its root.
        drives.setCurrentIndex(0);
        emit drives.activated(0);
        QCOMPARE(driveChanged.size(), 1);
        QCOMPARE(folders.Directory(), drives.itemData(0).toString());
        QCOMPARE(files.Directory(), folders.Directory());
    }

    void openInFileBrowserSelectsTheFile()
    {
        TDriveComboBox drives;
        TDirectoryListBox folders;
        TFileListBox files;
        files.SetMask(AudioMask);
        LinkFileBrowser(&drives, &folders, &files);
        OpenInFileBrowser(in(u"e.Mid"_s), &drives, &folders, &files);
        QCOMPARE(folders.Directory(), m_root);
        QCOMPARE(files.SelectedName(), u"e.Mid"_s);
        OpenInFileBrowser(in(u"alpha"_s), &drives, &folders, &files);
        QCOMPARE(folders.Directory(), in(u"alpha"_s));
        QCOMPARE(files.Names(), QStringList{ u"inside.wav"_s });
    }
};

QTEST_MAIN(TestFileBrowser)
#include "test_FileBrowser.moc"
