// XdgAssociation: desktop entries, the shared MIME type and the default application of .lst files.
#include "XdgAssociation.h"

#include "KsError.h"
#include "SafeSave.h"
#include "language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString MimeXmlName = u"kestrune-list.xml"_s;
const QString UpdateMimeDatabase = u"update-mime-database"_s;
constexpr int UpdateTimeoutMs = 60000;

QByteArray resource(const QString &name)
{
    QFile file(u":/dist/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(file.fileName());
    return file.readAll();
}

QString folderFromEnvironment(const char *variable, const QString &fallback)
{
    // The base directory specification ignores relative paths in the variables.
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + fallback;
}

// A string value of a desktop entry: its escapes, and a leading blank kept.
QString stringValue(const QString &text)
{
    QString value;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\')
            value += u"\\\\"_s;
        else if (c == u'\n')
            value += u"\\n"_s;
        else if (c == u'\t')
            value += u"\\t"_s;
        else if (c == u'\r')
            value += u"\\r"_s;
        else if (c == u' ' && i == 0)
            value += u"\\s"_s;
        else
            value += c;
    }
    return value;
}

// The first argument of an Exec value: the string escapes undone, then the quoting.
QString execProgramOf(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            text += next == u's' ? u' ' : next == u'n' ? u'\n' : next == u't' ? u'\t' : next == u'r' ? u'\r' : next;
        } else {
            text += value.at(i);
        }
    }
    text = language::Trim(text);
    if (!text.startsWith(u'"'))
        return text.left(text.indexOf(u' ')).replace(u"%%"_s, u"%"_s);
    QString program;
    for (qsizetype i = 1; i < text.size() && text.at(i) != u'"'; ++i)
        program += text.at(i) == u'\\' && i + 1 < text.size() ? text.at(++i) : text.at(i);
    return program.replace(u"%%"_s, u"%"_s);
}

// Why a file cannot be written at path (its folder made as needed, then a file renamed into it); empty
// when it can. The nearest folder that exists decides for the ones still to be made.
QString cannotWrite(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && (file.isDir() || ::access(QFile::encodeName(path).constData(), W_OK) != 0))
        return file.isDir() ? u"it is a folder"_s : qt_error_string(errno);
    QString folder = file.absolutePath();
    for (QString up; !QFileInfo::exists(folder) && (up = QFileInfo(folder).absolutePath()) != folder;)
        folder = up;
    if (!QFileInfo(folder).isDir())
        return u"%1 is not a folder"_s.arg(folder);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return u"%1: %2"_s.arg(folder, qt_error_string(errno));
    return QString();
}

void checkWritable(const QString &path)
{
    if (const QString cause = cannotWrite(path); !cause.isEmpty())
        throw KsError(u"Cannot create file %1: %2"_s.arg(path, cause));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !SafeSave::WriteFile(path, bytes))
        throw KsError::cannotCreate(path);
}

// A file's bytes; none when it does not exist. One that exists and cannot be read is a failure.
QByteArray readIfExists(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        throw KsError(u"Cannot open file %1: %2"_s.arg(path, file.errorString()));
    return file.readAll();
}

// Rebuilds the user's MIME database in the background; finished hears how it ended.
void updateMimeDatabase(const QString &program, const QString &mimeFolder, QObject &context,
                        const std::function<void(const QString &)> &finished)
{
    auto *process = new QProcess(&context);
    auto *timeout = new QTimer(process);
    timeout->setSingleShot(true);
    QObject::connect(timeout, &QTimer::timeout, process, [process] {
        process->setProperty("timedOut", true);
        process->kill();
    });
    const QString command = UpdateMimeDatabase + u' ' + mimeFolder;
    QObject::connect(process, &QProcess::errorOccurred, process, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // finished follows
        process->deleteLater();
        finished(u"Cannot run %1: %2"_s.arg(command, process->errorString()));
    });
    QObject::connect(process, &QProcess::finished, process, [=](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (process->property("timedOut").toBool())
            finished(u"%1 did not finish within %2 s"_s.arg(command).arg(UpdateTimeoutMs / 1000));
        else if (status != QProcess::NormalExit || code != 0)
            finished(u"%1 failed: %2"_s.arg(command, language::Trim(QString::fromLocal8Bit(process->readAllStandardError()))));
        else
            finished(QString());
    });
    timeout->start(UpdateTimeoutMs);
    process->start(program, { mimeFolder });
}

} // namespace

namespace XdgAssociation {

TFolders UserFolders()
{
    QStringList dataDirs;
    for (const QString &dir : qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dataDirs.append(dir);
    if (dataDirs.isEmpty())
        dataDirs = { u"/usr/local/share"_s, u"/usr/share"_s };
    return { folderFromEnvironment("XDG_DATA_HOME", u"/.local/share"_s),
             folderFromEnvironment("XDG_CONFIG_HOME", u"/.config"_s), dataDirs };
}

QString ListMimeType()
{
    QXmlStreamReader xml(resource(MimeXmlName));
    while (xml.readNextStartElement()) {
        if (xml.name() == "mime-type"_L1)
            return xml.attributes().value("type"_L1).toString();
        if (xml.name() != "mime-info"_L1)
            xml.skipCurrentElement();
    }
    throw KsError(u"No MIME type in "_s + MimeXmlName);
}

QString PackagedEntryName()
{
    return u"kestrune.desktop"_s;
}

QString OwnEntryName()
{
    return u"kestrune-portable.desktop"_s;
}

QString InstalledEntry(const QString &executable, const QStringList &dataDirs)
{
    const QString running = QFileInfo(executable).canonicalFilePath();
    for (const QString &dir : dataDirs) {
        QFile file(dir + u"/applications/"_s + PackagedEntryName());
        if (running.isEmpty() || !file.open(QIODevice::ReadOnly))
            continue;
        // The first entry of that ID on the search path is the one the desktop uses.
        bool inEntry = false;
        QString program;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QString text = QString::fromUtf8(line).trimmed();
            if (text.startsWith(u'['))
                inEntry = text == "[Desktop Entry]"_L1;
            else if (inEntry && text.startsWith("Exec"_L1) && text.mid(4).trimmed().startsWith(u'='))
                program = execProgramOf(text.mid(text.indexOf(u'=') + 1));
        }
        if (!program.isEmpty() && !QDir::isAbsolutePath(program))
            program = QStandardPaths::findExecutable(program);
        return !program.isEmpty() && QFileInfo(program).canonicalFilePath() == running ? PackagedEntryName() : QString();
    }
    return QString();
}

QString ExecProgram(const QString &path)
{
    // The characters the entry rules reserve: an argument holding one is quoted, and inside the quotes
    // '"', '`', '$' and '\' are escaped.
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#`()"_s;
    QString argument = path;
    if (std::any_of(path.begin(), path.end(), [](QChar c) { return reserved.contains(c); })) {
        argument.clear();
        for (const QChar c : path) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += u'\\';
            argument += c;
        }
        argument = u'"' + argument + u'"';
    }
    return stringValue(argument.replace(u"%"_s, u"%%"_s));
}

QByteArray OwnDesktopEntry(const QString &executable)
{
    QStringList lines = QString::fromUtf8(resource(PackagedEntryName())).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith("Exec="_L1)) {
            lines[i] = u"Exec="_s + ExecProgram(executable) + u" %f"_s;
            lines.insert(++i, u"TryExec="_s + stringValue(executable));
        } else if (lines[i] == "Name=Kestrune"_L1) {
            lines[i] = u"Name=Kestrune ("_s + stringValue(QFileInfo(executable).absolutePath()) + u')';
        }
    }
    return lines.join(u'\n').toUtf8();
}

QByteArray WithDefaultApplication(const QByteArray &mimeApps, const QString &type, const QString &entry)
{
    // The lines with their own line ends, so that each is written back byte for byte.
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < mimeApps.size();) {
        const qsizetype end = mimeApps.indexOf('\n', start);
        const qsizetype next = end < 0 ? mimeApps.size() : end + 1;
        lines.append(mimeApps.mid(start, next - start));
        start = next;
    }
    const QByteArray group = "Default Applications";
    const QByteArray key = type.toUtf8();
    const QByteArray line = key + '=' + entry.toUtf8();
    bool inGroup = false;
    bool inFirstGroup = false;
    bool replaced = false;
    qsizetype groupEnd = -1; // after the last line of the first such group that is not blank
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // As desktops read a key file: leading blanks ignored, a group up to its last "]", blanks before "=".
        const QByteArray text = lines[i].trimmed();
        if (text.startsWith('[') && text.lastIndexOf(']') > 0) {
            inGroup = text.mid(1, text.lastIndexOf(']') - 1) == group;
            inFirstGroup = inGroup && groupEnd < 0;
            if (inFirstGroup)
                groupEnd = i + 1;
            continue;
        }
        if (inFirstGroup && !text.isEmpty())
            groupEnd = i + 1;
        const qsizetype equals = text.indexOf('=');
        if (inGroup && !text.startsWith('#') && equals > 0 && text.left(equals).trimmed() == key) {
            const qsizetype ending = lines[i].endsWith("\r\n") ? 2 : lines[i].endsWith('\n') ? 1 : 0;
            lines[i] = line + lines[i].right(ending);
            replaced = true;
        }
    }
    if (!replaced) {
        if (!lines.isEmpty() && !lines.last().endsWith('\n'))
            lines.last().append('\n');
        if (groupEnd >= 0) {
            lines.insert(groupEnd, line + (lines[groupEnd - 1].endsWith("\r\n") ? "\r\n" : "\n"));
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append("\n");
            lines.append('[' + group + "]\n" + line + '\n');
        }
    }
    return lines.join();
}

void Register(const QString &executable, const TFolders &folders, QObject &context,
              const std::function<void(const QString &)> &finished)
{
    const QString type = ListMimeType();
    const QString installed = InstalledEntry(executable, folders.DataDirs);
    const QString mimeFolder = folders.DataHome + u"/mime"_s;

    // Everything that can be checked, before anything is written.
    const QString mimeApps = folders.ConfigHome + u"/mimeapps.list"_s;
    const QByteArray list = readIfExists(mimeApps);
    checkWritable(mimeApps);
    QList<std::pair<QString, QByteArray>> files;
    QString updater;
    if (installed.isEmpty()) {
        // Not the installed program: its own entry, the icon that entry names, and the MIME type.
        files = { { folders.DataHome + u"/applications/"_s + OwnEntryName(), OwnDesktopEntry(executable) },
                  { folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s, resource(u"icons/kestrune.svg"_s) },
                  { mimeFolder + u"/packages/"_s + MimeXmlName, resource(MimeXmlName) } };
        for (const auto &file : files)
            checkWritable(file.first);
        updater = QStandardPaths::findExecutable(UpdateMimeDatabase);
        if (updater.isEmpty())
            throw KsError(u"Cannot run update-mime-database: it is not installed (package shared-mime-info)"_s);
        if (context.findChild<QProcess *>())
            throw KsError(u"update-mime-database is still running for the last association"_s);
    }

    for (const auto &[path, bytes] : files)
        writeFile(path, bytes);
    writeFile(mimeApps, WithDefaultApplication(list, type, installed.isEmpty() ? OwnEntryName() : installed));
    if (updater.isEmpty())
        finished(QString());
    else
        updateMimeDatabase(updater, mimeFolder, context, finished);
}

} // namespace XdgAssociation
