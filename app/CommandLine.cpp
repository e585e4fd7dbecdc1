// CommandLine: the help and version requests and their texts.
#include "CommandLine.h"

#include "BatchCommand.h"

using namespace Qt::StringLiterals;

namespace CommandLine {

TRequest Request(const QStringList &arguments)
{
    const QString first = arguments.value(0);
    if (first == "--help"_L1 || first == "-h"_L1)
        return TRequest::Help;
    if (first == "--version"_L1)
        return TRequest::Version;
    return TRequest::Run;
}

QString HelpText(const QString &userDataFolder)
{
    return BatchCommand::UsageText()
        + u"Каталог личной музыкальной коллекции в текстовых файлах списков (.lst).\n"
           u"\n"
           u"  СПИСОК       открыть этот файл списка; без него открывается list.lst из папки программы\n"
           u"  -h, --help   показать эту справку и выйти\n"
           u"  --version    показать версию и выйти\n"
           u"\n"_s
        + BatchCommand::OptionsText()
        + u"\n"
           u"Папка программы хранит list.lst, main.lis и ks.ini, и относительные пути в списках\n"
           u"отсчитываются от неё. Это папка исполняемого файла, если в неё можно писать и\n"
           u"программа не установлена из пакета; иначе папка данных пользователя:\n"
           u"  %1\n"
           u"При первом запуске в неё копируется демонстрационный каталог.\n"_s.arg(userDataFolder);
}

QString VersionText()
{
    return u"Kestrune "_s + QStringLiteral(KS_VERSION) + u'\n';
}

} // namespace CommandLine
