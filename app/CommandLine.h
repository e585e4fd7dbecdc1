// CommandLine: the requests a command line makes before any window exists (--help, --version).
#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {

enum class TRequest { Run, Help, Version };

/// What the arguments after the program's name ask for: "--help" or "-h" as the first one asks for
/// the help text, "--version" for the version; anything else is a run on the list it names.
TRequest Request(const QStringList &arguments);

/// The usage text, naming the folder where an installed program keeps the user's files.
QString HelpText(const QString &userDataFolder);

/// "Kestrune" and the version.
QString VersionText();

} // namespace CommandLine
