// main: starts Kestrune with the main window on the list named on the command line.
#include "Application.h"
#include "Batch.h"
#include "ColourDialog.h"
#include "CommandLine.h"
#include "DescriptionView.h"
#include "FileAssociation.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "Paths.h"
#include "PlayerLink.h"
#include "ProcessSignals.h"
#include "ShellOpen.h"
#include "UnitU1.h"

#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Help and version are answered before the application connects to a display.
bool AnswerCommandLine(int argc, char *argv[])
{
    const QStringList arguments = argc > 1 ? QStringList { QString::fromLocal8Bit(argv[1]) } : QStringList();
    QString text;
    switch (CommandLine::Request(arguments)) {
    case CommandLine::TRequest::Run:
        return false;
    case CommandLine::TRequest::Help:
        text = CommandLine::HelpText(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                     CommandLine::HelpLanguage(QLocale::system()));
        break;
    case CommandLine::TRequest::Version:
        text = CommandLine::VersionText();
        break;
    }
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return true;
}

// Scanning and exporting (--scan, --export-html, --export-m3u) run on a core application, without a
// display; a wrong option is told with the usage. No answer: the window is wanted.
std::optional<int> RunWithoutWindow(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const BatchCommand::TCommand command =
        BatchCommand::Parse(arguments, [](const QString &path) { return QFileInfo(path).isFile(); });
    if (!command.Wrong.isEmpty()) {
        const CommandLine::TLanguage language = CommandLine::HelpLanguage(QLocale::system());
        const QString text = u"kestrune: "_s + command.Wrong + u'\n' + CommandLine::UsageText(language)
            + (language == CommandLine::TLanguage::Russian ? u"Подробнее: kestrune --help\n"_s
                                                            : u"More: kestrune --help\n"_s);
        std::fputs(text.toLocal8Bit().constData(), stderr);
        return 2;
    }
    if (command.Mode == BatchCommand::TMode::Window)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    // Relative paths in lists resolve as in the window; nothing is copied into the user's folder.
    const QString programFolder = Paths::chooseProgramFolder(Paths::startFolders());
    Paths::setProgramFolder(programFolder);
    return Batch::Run(command, programFolder);
}

// The program folder: beside the executable, or the user's own data folder of an installed program.
void ChooseProgramFolder(TMessages &messages)
{
    const Paths::TStartFolders folders = Paths::startFolders();
    const QString programFolder = Paths::chooseProgramFolder(folders);
    Paths::setProgramFolder(programFolder);
    // Also for root, who could write the installed program's folder but keeps the lists in the data folder.
    if (programFolder == folders.UserData)
        RunGuarded(messages, [&folders] { Paths::prepareUserDataFolder(folders.UserData, folders.Demo); });
}

} // namespace

int main(int argc, char *argv[])
{
    IgnoreFileSizeSignal();
    // The user's data folder is named after the program.
    QCoreApplication::setApplicationName(u"Kestrune"_s);
    if (AnswerCommandLine(argc, argv))
        return 0;
    if (const std::optional<int> status = RunWithoutWindow(argc, argv))
        return *status;
    // The web view shares its rendering context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TKestruneApplication app(argc, argv);
    TKestruneApplication::LoadQtTranslations();
    QApplication::setWindowIcon(QIcon::fromTheme(u"kestrune"_s, QIcon(u":/icons/kestrune.png"_s)));

    TMessageBoxes messages;
    app.SetMessages(&messages);
    ChooseProgramFolder(messages);
    TSystemShell shell;
    TQtFileDialogs fileDialogs;
    TQtColourDialog colourDialog;
    TSystemFileAssociation association;
    // The player is looked for once before any window exists.
    const std::unique_ptr<IPlayerLink> player = CreateSystemPlayerLink();
    player->FindPlayer();

    TFormServices services;
    services.Shell = &shell;
    services.Messages = &messages;
    services.FileDialogs = &fileDialogs;
    services.Player = player.get();
    services.ColourDialog = &colourDialog;
    services.Association = &association;
    services.DescriptionView = std::make_unique<TWebDescriptionView>();
    services.Arguments = app.arguments().mid(1);
    TForm1 form(std::move(services));
    form.show();
    return app.exec();
}
