// PathsStartup: choosing the program folder at start-up and giving a new user's folder the demo catalogue.
#include "Paths.h"

#include "KsError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

// A folder with the default list or the settings file (written at every exit) has been used.
const QStringList UsedMarks = { u"list.lst"_s, u"ks.ini"_s };
const QString DefaultList = u"list.lst"_s;

// In the platform's spelling with its trailing separator, the way the program folder is joined.
QString nativeFolder(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.isEmpty() || native.endsWith(Paths::separator()) ? native : native + Paths::separator();
}

// Copies one file unless the target exists; the copy is the user's to change.
void copyMissing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return;
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        throw KsError::cannotCreate(to);
    // QFile::copy writes a temporary file and renames it: a copy is whole or absent.
    if (!QFile::copy(from, to))
        throw KsError::cannotCreate(to);
    QFile copy(to);
    if (!copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser))
        throw KsError::cannotCreate(to);
}

} // namespace

namespace Paths {

bool canWrite(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(u".kestrune-write-test-XXXXXX"_s));
    return probe.open(); // removed again when probe goes
}

TStartFolders startFolders()
{
    TStartFolders folders;
    folders.Executable = executableFolder();
    folders.ExecutableWritable = canWrite(folders.Executable);
    folders.UserData = nativeFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    folders.Demo = nativeFolder(QDir::cleanPath(folders.Executable + QStringLiteral(KS_DEMO_FROM_EXECUTABLE)));
    folders.Installed = QFileInfo::exists(folders.Demo + DefaultList);
    return folders;
}

QString chooseProgramFolder(const TStartFolders &folders)
{
    return folders.ExecutableWritable && !folders.Installed ? folders.Executable : folders.UserData;
}

void prepareUserDataFolder(const QString &userData, const QString &demo)
{
    if (!QDir().mkpath(userData))
        throw KsError::cannotCreate(userData);
    const QDir target(userData);
    for (const QString &name : UsedMarks)
        if (QFileInfo::exists(target.filePath(name)))
            return;
    const QDir source(demo);
    if (!source.exists(DefaultList))
        return;

    QStringList files;
    QDirIterator it(source.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(source.relativeFilePath(it.next()));
    // In name order, the default list last: until it is there the folder counts as new and the
    // copy is taken up again.
    files.sort();
    files.removeOne(DefaultList);
    files.append(DefaultList);
    for (const QString &relative : std::as_const(files))
        copyMissing(source.filePath(relative), target.filePath(relative));
}

} // namespace Paths
