// bench_window_load: a large list loaded into the shown main window, with the first album selected.
#include "CatalogueTree.h"
#include "ColourDialog.h"
#include "DescriptionView.h"
#include "FileAssociation.h"
#include "FileDialogs.h"
#include "He1.h"
#include "LargeList.h"
#include "Messages.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "UnitU1.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void BM_WindowLoadList(benchmark::State &state)
{
    const LargeList &list = largeList();
    TRecordingShell shell;
    TRecordingMessages messages;
    TScriptedFileDialogs fileDialogs;
    TRecordingPlayerLink player;
    TScriptedColourDialog colourDialog;
    TRecordingFileAssociation association;
    TFormServices services;
    services.Shell = &shell;
    services.Messages = &messages;
    services.FileDialogs = &fileDialogs;
    services.Player = &player;
    services.ColourDialog = &colourDialog;
    services.Association = &association;
    services.DescriptionView = std::make_unique<TRecordingDescriptionView>();
    services.Arguments = QStringList { list.fileName };
    TForm1 form(std::move(services));
    form.resize(900, 600);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        state.SkipWithError("the window was not shown");
    for (auto _ : state) {
        form.LoadList(list.fileName);
        // The view lays out the new rows and paints before the user sees the list.
        form.repaint();
        QCoreApplication::processEvents();
    }
    if (form.Tree().NodeCount() != kAlbums * (1 + kTracksPerAlbum) || !messages.Errors.isEmpty())
        state.SkipWithError("the list did not load");
}

} // namespace

BENCHMARK(BM_WindowLoadList)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
