// CommandLine: the help and version requests and their texts, in Russian and in English.
#include "CommandLine.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace CommandLine {

namespace {

// One argument of the usage: how it is written and what it does, in each language. A new option is a
// new row here.
struct TArgument
{
    const char16_t *Syntax[2];
    const char16_t *Meaning[2];
};

constexpr TArgument Arguments[] = {
    { { u"СПИСОК", u"LIST" },
      { u"открыть этот файл списка; без него открывается list.lst из папки программы",
        u"open this list file; without it, list.lst in the program folder is opened" } },
    { { u"-h, --help", u"-h, --help" }, { u"показать эту справку и выйти", u"show this help and exit" } },
    { { u"--version", u"--version" }, { u"показать версию и выйти", u"show the version and exit" } },
};

} // namespace

TRequest Request(const QStringList &arguments)
{
    const QString first = arguments.value(0);
    if (first == "--help"_L1 || first == "-h"_L1)
        return TRequest::Help;
    if (first == "--version"_L1)
        return TRequest::Version;
    return TRequest::Run;
}

TLanguage HelpLanguage(const QLocale &locale)
{
    const QString first = locale.uiLanguages().value(0);
    return first == "ru"_L1 || first.startsWith("ru-"_L1) || first.startsWith("ru_"_L1) ? TLanguage::Russian
                                                                                          : TLanguage::English;
}

QString HelpText(const QString &userDataFolder, TLanguage language)
{
    const int l = language == TLanguage::Russian ? 0 : 1;
    qsizetype width = 0;
    for (const TArgument &a : Arguments)
        width = std::max(width, QStringView(a.Syntax[l]).size());
    QString options;
    for (const TArgument &a : Arguments)
        options += u"  "_s + QString::fromUtf16(a.Syntax[l]).leftJustified(width + 3) + QString::fromUtf16(a.Meaning[l]) + u'\n';

    if (language == TLanguage::Russian)
        return u"Использование: kestrune [СПИСОК]\n"
               u"Каталог личной музыкальной коллекции в текстовых файлах списков (.lst).\n"
               u"\n"_s
            + options
            + u"\n"
              u"Папка программы хранит list.lst, main.lis и ks.ini, и относительные пути в списках\n"
              u"отсчитываются от неё. Это папка исполняемого файла, если в неё можно писать и\n"
              u"программа не установлена из пакета; иначе папка данных пользователя:\n"
              u"  %1\n"
              u"При первом запуске в неё копируется демонстрационный каталог.\n"_s.arg(userDataFolder);
    return u"Usage: kestrune [LIST]\n"
           u"Catalogue of a personal music collection in plain-text list files (.lst).\n"
           u"\n"_s
        + options
        + u"\n"
          u"The program folder holds list.lst, main.lis and ks.ini, and relative paths in lists are\n"
          u"relative to it. It is the executable's folder when that folder can be written and the\n"
          u"program was not installed from a package; otherwise the user's data folder:\n"
          u"  %1\n"
          u"On the first start the demo catalogue is copied into it.\n"
          u"The program's windows are in Russian.\n"_s.arg(userDataFolder);
}

QString VersionText()
{
    return u"Kestrune "_s + QStringLiteral(KS_VERSION) + u'\n';
}

} // namespace CommandLine
