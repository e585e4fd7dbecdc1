// XdgAssociation: desktop entry, shared MIME type and default application of .lst files for the current user.
#include "XdgAssociation.h"

#include "IniFile.h"
#include "KsError.h"
#include "SafeSave.h"
#include "language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString MimeXmlName = u"kestrune-list.xml"_s;
// The entry's Icon= names it; a program that is not installed brings it along.
const QString IconName = u"icons/kestrune.svg"_s;

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

void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !SafeSave::WriteFile(path, bytes))
        throw KsError::cannotCreate(path);
}

void updateMimeDatabase(const QString &mimeFolder)
{
    const QString program = QStandardPaths::findExecutable(u"update-mime-database"_s);
    if (program.isEmpty())
        throw KsError(u"Cannot run update-mime-database: it is not installed (package shared-mime-info)"_s);
    QProcess process;
    process.start(program, { mimeFolder });
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        throw KsError(u"update-mime-database %1 did not finish"_s.arg(mimeFolder));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString output = language::Trim(QString::fromLocal8Bit(process.readAllStandardError()));
        throw KsError(u"update-mime-database %1 failed: %2"_s.arg(mimeFolder, output));
    }
}

} // namespace

namespace XdgAssociation {

TFolders UserFolders()
{
    return { folderFromEnvironment("XDG_DATA_HOME", u"/.local/share"_s),
             folderFromEnvironment("XDG_CONFIG_HOME", u"/.config"_s) };
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

QString DesktopFileName()
{
    return u"kestrune.desktop"_s;
}

QString ExecArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u"%"_s, u"%%"_s);
    // The escapes of a string value apply first when the entry is read.
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += u"\\\\"_s;
        else if (c == u'\n')
            value += u"\\n"_s;
        else if (c == u'\t')
            value += u"\\t"_s;
        else if (c == u'\r')
            value += u"\\r"_s;
        else
            value += c;
    }
    return value;
}

QByteArray DesktopEntry(const QString &executable)
{
    QStringList lines = QString::fromUtf8(resource(DesktopFileName())).split(u'\n');
    for (QString &line : lines)
        if (line.startsWith("Exec="_L1))
            line = u"Exec="_s + ExecArgument(executable) + u" %f"_s;
    return lines.join(u'\n').toUtf8();
}

void Register(const QString &executable, const TFolders &folders)
{
    const QString type = ListMimeType();
    writeFile(folders.DataHome + u"/applications/"_s + DesktopFileName(), DesktopEntry(executable));
    writeFile(folders.DataHome + u"/icons/hicolor/scalable/apps/kestrune.svg"_s, resource(IconName));

    const QString mimeFolder = folders.DataHome + u"/mime"_s;
    writeFile(mimeFolder + u"/packages/"_s + MimeXmlName, resource(MimeXmlName));
    updateMimeDatabase(mimeFolder);

    const QString mimeApps = folders.ConfigHome + u"/mimeapps.list"_s;
    if (!QDir().mkpath(folders.ConfigHome))
        throw KsError::cannotCreate(mimeApps);
    TIniFile list(mimeApps, TIniFile::DesktopText);
    list.WriteString(u"Default Applications"_s, type, DesktopFileName());
    if (!list.Save())
        throw KsError::cannotCreate(mimeApps);
}

} // namespace XdgAssociation
