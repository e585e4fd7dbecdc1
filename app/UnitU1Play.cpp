// UnitU1Play: playing tracks and whole albums from the tree, and the player's transport strip.
#include "UnitU1.h"

#include "AlbumMonitor.h"
#include "CatalogueTree.h"
#include "He1.h"
#include "LinkLabel.h"
#include "Messages.h"
#include "Paths.h"
#include "PlayerLink.h"
#include "ShellOpen.h"
#include "language.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
// The album monitor's clock: monotonic milliseconds.
qint64 now()
{
    return QDeadlineTimer::current().deadline();
}
} // namespace

void TForm1::CreateMonitorTimer()
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(TAlbumMonitor::IntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::AlbumMonitorTick);
}

const TAlbumMonitor &TForm1::AlbumMonitor() const
{
    return m_monitor;
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    // A player found now shows the strip; one missing now does not hide it.
    Guarded([this] {
        if (m_player.FindPlayer())
            Panel5->show();
    });
}

void TForm1::PlaySelectedTrack()
{
    StartSelectedTrack(false);
}

void TForm1::PlayByEnter()
{
    // Enter plays the selection without taking it over as album play's track.
    StartSelectedTrack(true);
}

void TForm1::PlayWholeAlbum()
{
    PlaySelectedTrack();
    // Also when nothing could be started: the monitor then follows the last track started.
    m_monitor.SwitchOn(m_player, now());
    SyncMonitorTimer();
}

void TForm1::StartSelectedTrack(bool byEnter)
{
    const TTreeNode *node = TreeView1->Selected();
    if (!node || node->Level() != 1)
        return;
    LookUpRecords(node);
    const TTrack &track = m_list.CurrentTrack;
    const TAlbum &album = m_list.CurrentAlbum;
    if (track.LineIndex < 0 || !Paths::fileExists(track.FileName)) {
        m_messages.ShowMessage(u"File '"_s + track.FileName + u"' not found."_s);
        return;
    }
    // What the panel and the title showed, for the desktop's report that it had no program for the file.
    m_beforeStart = { ApplicationTitle(), { Label6->text(), Label7->text(), Label10->text(), Label8->text(), Label9->text() },
                      track.FileName };
    if (!byEnter) {
        // The application title is what message boxes and the taskbar show; the caption stays.
        SetApplicationTitle(u"Kestrune - "_s + track.Title);
        m_monitor.SwitchOff();
        SyncMonitorTimer();
    }
    m_shell.ShellOpen(track.FileName);
    if (!byEnter)
        m_monitor.SetNowPlaying(album.Title, track.Title, node->Parent()->Row(), node->Row());
    else if (m_monitor.IsOn())
        m_monitor.Handed(m_player, now());
    Panel5->setVisible(m_player.FindPlayer());

    Label6->setText(album.Title);
    Label7->setText(album.Author);
    Label10->setText(album.Url);
    Label8->setText(track.Title);
    Label9->setText(track.Size);
}

void TForm1::OpenFailed(const QString &target, const QString &reason)
{
    // A track that never started leaves the panel, the title and album play as they were.
    if (target == m_beforeStart.File) {
        SetApplicationTitle(m_beforeStart.Title);
        const QList<QLabel *> labels{ Label6, Label7, Label10, Label8, Label9 };
        for (int i = 0; i < labels.size(); ++i)
            labels[i]->setText(m_beforeStart.Panel.value(i));
        m_beforeStart = {};
        m_monitor.SwitchOff();
        SyncMonitorTimer();
    }
    m_messages.ShowMessage(u"Не могу открыть «"_s + target + u"»: "_s + reason);
}

void TForm1::AlbumMonitorTick()
{
    Guarded([this] { ActOn(m_monitor.Tick(m_player, m_list, Paths::programFolder(), now())); });
    SyncMonitorTimer();
}

void TForm1::PlayerChanged(const TPlayerChange &change)
{
    Guarded([&] {
        // Another player may still be there: the strip goes with the last one.
        if (change.Vanished)
            m_player.FindPlayer();
        ActOn(m_monitor.Changed(change, m_player, m_list, Paths::programFolder(), now()));
    });
    SyncMonitorTimer();
}

void TForm1::ActOn(const TMonitorStep &step)
{
    if (step.Action == TMonitorAction::PlayFile)
        m_shell.ShellOpen(step.FileName);
    // A tick finds the player that the shell started for the first track; a player that has gone is
    // no longer driven.
    Panel5->setVisible(m_player.PlayerKnown());
    if (step.Action == TMonitorAction::NoPlayer)
        m_messages.ShowMessage(u"«Играть весь альбом» не нашёл проигрывателя, за которым может следить: "
                               u"следующие композиции альбома не будут запущены."_s);
}

void TForm1::SyncMonitorTimer()
{
    if (!m_monitor.IsOn())
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}
