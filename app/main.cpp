// main: starts Kestrune with the main window on the list named on the command line.
#include "Application.h"
#include "DescriptionView.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "UnitU1.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // The web view shares its rendering context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TKestruneApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"Kestrune"_s);
    TKestruneApplication::LoadQtTranslations();

    TMessageBoxes messages;
    app.SetMessages(&messages);
    TSystemShell shell;
    TQtFileDialogs fileDialogs;
    // The player is looked for once before any window exists.
    const std::unique_ptr<IPlayerLink> player = CreateSystemPlayerLink();
    player->FindPlayer();

    TFormServices services;
    services.Shell = &shell;
    services.Messages = &messages;
    services.FileDialogs = &fileDialogs;
    services.Player = player.get();
    services.DescriptionView = std::make_unique<TWebDescriptionView>();
    services.Arguments = app.arguments().mid(1);
    TForm1 form(std::move(services));
    form.show();
    return app.exec();
}
