// CommandLine: the requests a command line makes before any window exists (--help, --version) and the
// help's texts.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace CommandLine {

enum class TRequest { Run, Help, Version };

/// The language the help is printed in.
enum class TLanguage { Russian, English };

/// What the arguments after the program's name ask for: "--help" or "-h" as the first one asks for
/// the help text, "--version" for the version; anything else is a run on the list it names.
TRequest Request(const QStringList &arguments);

/// Russian when the user's first language is Russian, English otherwise (the interface itself is Russian).
TLanguage HelpLanguage(const QLocale &locale);

/// The usage text, naming the folder where an installed program keeps the user's files.
QString HelpText(const QString &userDataFolder, TLanguage language);

/// The forms of use, one a line.
QString UsageText(TLanguage language);

/// "Kestrune" and the version.
QString VersionText();

} // namespace CommandLine
