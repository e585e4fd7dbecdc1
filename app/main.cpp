// main: starts Kestrune with the main window on the list named on the command line.
#include "Application.h"
#include "ColourDialog.h"
#include "DescriptionView.h"
#include "FileAssociation.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "Paths.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "UnitU1.h"

using namespace Qt::StringLiterals;

namespace {

// The program folder: beside the executable, or the user's own data folder of an installed program.
void ChooseProgramFolder(TMessages &messages)
{
    const Paths::TStartFolders folders = Paths::startFolders();
    Paths::setProgramFolder(Paths::chooseProgramFolder(folders));
    if (!folders.ExecutableWritable)
        RunGuarded(messages, [&folders] { Paths::prepareUserDataFolder(folders.UserData, folders.Demo); });
}

} // namespace

int main(int argc, char *argv[])
{
    // The user's data folder is named after the program.
    QCoreApplication::setApplicationName(u"Kestrune"_s);
    // The web view shares its rendering context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TKestruneApplication app(argc, argv);
    TKestruneApplication::LoadQtTranslations();

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
