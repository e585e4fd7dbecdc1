// ExportTarget: refusing the user's own files as the target of a page or a playlist.
#include "ExportTarget.h"

#include "Paths.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The first line of a regular file is "-newalbum", after a UTF-8 byte-order mark if there is one.
bool startsAsList(const QString &path)
{
    const QString name = Paths::toFileSystem(path);
    if (!QFileInfo(name).isFile())
        return false;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(16);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    const QByteArray marker("-newalbum");
    return head.startsWith(marker)
        && (head.size() == marker.size() || head.at(marker.size()) == '\r' || head.at(marker.size()) == '\n');
}

} // namespace

namespace ExportTarget {

QString Refusal(const QString &path, const TKeptFiles &kept, TKind kind)
{
    const bool page = kind == TKind::Page;
    const QString what = page ? u"Страница"_s : u"Плейлист"_s;
    const QString another = page ? u" Выберите для страницы другой файл."_s : u" Выберите для плейлиста другой файл."_s;
    if (Paths::sameFile(path, kept.ListFile))
        return what + u" не может заменить открытый список."_s + another;
    if (Paths::sameFile(path, kept.QuickLoadIndex))
        return what + u" не может заменить список быстрой загрузки main.lis."_s + another;
    for (const QString &settings : kept.SettingsFiles)
        if (Paths::sameFile(path, settings))
            return what + u" не может заменить используемый файл настроек."_s + another;
    if (startsAsList(path))
        return u"Этот файл - список музыкальных файлов, "_s + what.toLower() + u" не может его заменить."_s + another;
    return QString();
}

} // namespace ExportTarget
