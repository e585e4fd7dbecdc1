// BatchCommand: reading the options of the work without a window.
#include "BatchCommand.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace BatchCommand {

namespace {

struct TOption
{
    QLatin1StringView Name;
    QString TCommand::*Value; // null: a switch
};

const TOption Options[] = {
    { "--scan"_L1, &TCommand::Folder },   { "--ext"_L1, &TCommand::Extension }, { "--author"_L1, &TCommand::Author },
    { "--url"_L1, &TCommand::Url },       { "--output"_L1, &TCommand::Output }, { "--append"_L1, nullptr },
    { "--export-html"_L1, nullptr },      { "--export-m3u"_L1, nullptr },
};

const TOption *optionNamed(QStringView name)
{
    for (const TOption &o : Options)
        if (name == o.Name)
            return &o;
    return nullptr;
}

// The options read, and the command they make.
TCommand Finish(TCommand c, const QSet<QString> &seen, const QStringList &positional)
{
    const QStringList modes{ u"--scan"_s, u"--export-html"_s, u"--export-m3u"_s };
    QStringList given;
    for (const QString &m : modes)
        if (seen.contains(m))
            given << m;
    if (given.isEmpty())
        c.Wrong = u"нужен один из параметров --scan, --export-html, --export-m3u"_s;
    else if (given.size() > 1)
        c.Wrong = u"параметры %1 нельзя указать вместе"_s.arg(given.join(u", "_s));
    if (!c.Wrong.isEmpty())
        return c;
    if (given.first() == modes.at(0)) {
        c.Mode = TMode::Scan;
        if (!positional.isEmpty())
            c.Wrong = u"лишний аргумент «%1»"_s.arg(positional.first());
        else if (c.Append && !seen.contains(u"--output"_s))
            c.Wrong = u"--append дополняет список, названный в --output"_s;
        return c;
    }
    c.Mode = given.first() == modes.at(1) ? TMode::ExportHtml : TMode::ExportM3u;
    for (const QString &o : { u"--ext"_s, u"--author"_s, u"--url"_s, u"--output"_s, u"--append"_s })
        if (seen.contains(o))
            c.Wrong = u"параметр %1 относится только к --scan"_s.arg(o);
    if (c.Wrong.isEmpty() && positional.size() != 2)
        c.Wrong = u"после %1 нужны два файла: список и %2"_s.arg(given.first(),
                                                                 c.Mode == TMode::ExportHtml ? u"страница"_s : u"плейлист"_s);
    if (c.Wrong.isEmpty()) {
        c.List = positional.at(0);
        c.Target = positional.at(1);
    }
    return c;
}

} // namespace

TCommand Parse(const QStringList &arguments, const std::function<bool(const QString &)> &isFile)
{
    TCommand c;
    if (arguments.isEmpty() || !arguments.first().startsWith(u'-') || isFile(arguments.first()))
        return c;
    QSet<QString> seen;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith("--"_L1)) {
            positional << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.left(equals);
        const TOption *option = optionNamed(name);
        if (!option)
            c.Wrong = u"неизвестный параметр «%1»"_s.arg(name);
        else if (seen.contains(name))
            c.Wrong = u"параметр %1 указан дважды"_s.arg(name);
        else if (!option->Value && equals >= 0)
            c.Wrong = u"параметр %1 не принимает значения"_s.arg(name);
        else if (option->Value && equals < 0 && i + 1 >= arguments.size())
            c.Wrong = u"у параметра %1 нет значения"_s.arg(name);
        if (!c.Wrong.isEmpty())
            return c;
        seen.insert(name);
        if (option->Value)
            c.*option->Value = equals >= 0 ? argument.mid(equals + 1) : arguments.at(++i);
        else if (name == "--append"_L1)
            c.Append = true;
    }
    return Finish(c, seen, positional);
}

} // namespace BatchCommand
