// UnitU1: TForm1, the main window: the open list, its tree, the information panel and the views.
#pragma once

#include "AlbumMonitor.h"
#include "CatalogueHost.h"
#include "Messages.h"
#include "NativeWindow.h"
#include "OpenList.h"
#include "SettingsHost.h"
#include "UndoHistory.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <type_traits>

class IColourDialog;
class IDescriptionView;
class IFileAssociation;
class IFileDialogs;
class IPlayerLink;
class IShellOpen;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class TCatalogueTree;
class THETreeView;
class TImageView;
class TLinkLabel;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TFileFindForm;
class TMessages;
class TTreeNode;
struct TNodePlace;

/// What the main window is handed when it is created.
struct TFormServices
{
    IShellOpen *Shell = nullptr;
    TMessages *Messages = nullptr;
    IFileDialogs *FileDialogs = nullptr;
    IPlayerLink *Player = nullptr;
    IColourDialog *ColourDialog = nullptr;
    IFileAssociation *Association = nullptr;
    std::unique_ptr<IDescriptionView> DescriptionView;
    QStringList Arguments; ///< command-line arguments after the program name
};

class TForm1 : public QWidget, public ICatalogueHost, public ISettingsHost
{
    Q_OBJECT
public:
    explicit TForm1(TFormServices services, QWidget *parent = nullptr);
    ~TForm1() override;

    // Open-list state shared with the dialogs.
    TOpenList &OpenList() override { return m_list; }
    TCatalogueTree &Tree() override { return *m_tree; }
    THETreeView *TreeView() const override { return TreeView1; }
    const QStringList &QuickLoadFiles() const { return m_quickLoadFiles; }
    const QString &DefaultSettingsFile() const { return m_defaultSettingsFile; }
    const QString &ShownDescription() const { return m_shownDescription; }
    bool FirstPaintPending() const { return m_firstPaintPending; }

    /// Replaces the open list with a file and rebuilds the tree; selects the first album. Throws KsError.
    void LoadList(const QString &fileName) override;
    /// Fills the quick-load combo box and QuickLoadFiles from main.lis in the program folder.
    void LoadQuickLoadIndex() override;
    /// Every change the program makes to a list file or main.lis, for "Отменить" and "Повторить".
    TUndoHistory *History() override { return &m_history; }

    // The dialogs, created once after the window.
    TForm2 *Form2() const { return m_form2; }
    TForm3 *Form3() const { return m_form3; }
    TForm4 *Form4() const { return m_form4; }
    TForm5 *Form5() const { return m_form5; }
    TForm6 *Form6() const { return m_form6; }
    TForm7 *Form7() const { return m_form7; }
    TFileFindForm *FileFindForm() const { return m_fileFindForm; }
    TForm8 *Form8() const { return m_form8; }

    // Settings files and the appearance (UnitU1Settings.cpp).
    /// Applies the default settings file, program folder + "ks.ini".
    void LoadDefaultSettings();
    /// Applies a settings file; the default settings file stays the target of the exit save.
    void LoadSettingsFile(const QString &path) override;
    /// Writes the window's state into the default settings file; a failure is silent.
    void SaveDefaultSettings();
    void SaveSettingsFile(const QString &path) override;
    /// The window's state as a settings file stores it.
    Settings::TWindowSettings CurrentSettings() const;
    /// The stored colour of one part of the window.
    Settings::TColour Colour(Settings::TColourKey key) const { return m_colours[key]; }
    void SetColour(Settings::TColourKey key, Settings::TColour value) override;
    bool InPlaceEditing() const override;
    void SetInPlaceEditing(bool on) override;

    // Window chrome (UnitU1Chrome.cpp).
    bool StaysOnTop() const override;
    void SetStayOnTop(bool on) override;
    bool Borderless() const override;
    void SetBorderless(bool on) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The tabs of PageControl1.
    static constexpr int DescriptionTab = 0;
    static constexpr int ImageTab = 1;
    static constexpr int AboutTab = 2;

    // Layout and wiring (UnitU1Layout.cpp). Controls and actions are connected where they are made.
    using Handler = void (TForm1::*)();
    void CreateControls();
    void CreateLeftSide(QWidget *left);
    void CreateRightSide(QWidget *right);
    void CreateMenus();
    void CreateActions();
    void ConnectControls();
    QAction *MenuItem(QMenu *menu, const QString &name, const QString &caption, Handler handler,
                      const QKeySequence &shortcut = {});
    QAction *WindowAction(const QString &name, const QKeySequence &shortcut, Handler handler);
    /// Connects a signal to a handler (a member function or a callable) that runs inside the
    /// general error handler.
    template <class Sender, class Signal, class F> void OnGuarded(Sender *sender, Signal signal, F handler)
    {
        if constexpr (std::is_member_function_pointer_v<F>)
            connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        else
            connect(sender, signal, this, [this, handler] { Guarded(handler); });
    }

    // Start-up and handlers (UnitU1.cpp).
    /// The list named on the command line: the first argument, trimmed, or every argument joined
    /// when that alone names no file but the whole does; empty when none is given.
    static QString ListFileArgument(const QStringList &arguments);
    void FormCreate();
    void CreateDialogs();
    void FirstPaint();
    /// Runs a handler inside the general error handler.
    template <class F> void Guarded(F &&handler) { RunGuarded(m_messages, std::forward<F>(handler)); }
    void SelectionChanged(TTreeNode *node);
    void ShowAlbumDescription(TTreeNode *node);
    void ShowTrackDescription(TTreeNode *node);
    void ShowDescriptionIfNew(const QString &path);
    void ShowPicture(const QString &path);
    void TabChanged(int index);
    void DescriptionTabShown();
    void ImageTabShown();
    void QuickLoadChosen(int index);
    void SelectListAction();
    void MenuButtonClicked();
    void UrlClicked();
    void ShowDescriptionTab();
    void ShowImageTab();
    void ShowAboutTab();

    // Settings (UnitU1Settings.cpp).
    void ApplySettings(const Settings::TWindowSettings &settings);
    /// The client area where the window system has put it; the toolkit's record off X11 or when hidden.
    QRect ClientOnScreen() const;
    /// Runs action with the window's frame once the window manager has framed the window (X11 only).
    void WhenFramed(std::function<void(const QMargins &frame)> action);
    /// The window manager's frame around the window, from the window system's placement where there is
    /// one (none while the window manager has not framed the window), else the toolkit's.
    QMargins FrameMargins(const std::optional<NativeWindow::TPlacement> &placed) const;
    void ApplyColours();
    void ShowSettingsDialog();
    void AssociateListFiles();
    std::array<Settings::TColour, Settings::ColourCount> m_colours;

    // Window chrome (UnitU1Chrome.cpp).
    /// New window flags, the window's client area then at client.
    void ChangeWindowFlags(Qt::WindowFlags flags, const QRect &client);
    void CloseButtonClicked();
    void MaximizeButtonClicked();
    /// Moving the window by the information panel; true when the event was used.
    bool PanelMouseEvent(QEvent *event);
    void HidePanel();
    bool m_dragging = false;
    QPoint m_dragStart;       // pointer on the screen when the drag began
    QPoint m_dragWindowStart; // the window's client position then
    int m_widthBeforeHiding = 0; // "Скрыть панель" brings this width back

    // Editing the open list (UnitU1Edit.cpp).
public:
    /// The trimmed text of the node whose in-place editing began last.
    const QString &EditOldText() const { return m_editOldText; }

private:
    void ShowBuilder();
    void ShowSearch();
    void ShowQuickLoadManager();
    void ShowFileSearch();
    void ShowTagEditor();
    void CollapseTree();
    void DeleteSelected();
    void DeleteAlbum(TTreeNode *node);
    void DeleteTrack(TTreeNode *node);
    void EditingBegins(TTreeNode *node);
    void EditingEnds(TTreeNode *node, const QString &newText);
    /// The records of a node into CurrentAlbum and CurrentTrack; true when its own block was used.
    bool LookUpRecords(const TTreeNode *node);
    void ShowInformation();
    void HandOverToTagEditor();
    void OpenListFile();
    void SaveListAs();
    void MakeListDefault();
    void ExportHtml();
    void ExportM3u();
    /// Where an export is refused: the open list, main.lis and the settings files in use.
    QString ExportRefusal(const QString &path, bool page) const;
    QString m_editOldText;
    bool m_exportPageShown = false; // the exported page stays in the view until the selection changes

    // Undo and redo of the changes to list files (UnitU1Undo.cpp).
    void UndoChange();
    void RedoChange();
    void PutBack(TUndoHistory::TOutcome (TUndoHistory::*step)());
    /// The open list's file was put back: reload it and select the node at place, where it still is.
    void ReloadAt(const TNodePlace &place);
    void ShowUndoState();
    TUndoHistory m_history;

    // Playing (UnitU1Play.cpp).
public:
    /// Album play's state: now-playing names and whether the monitor is on.
    const TAlbumMonitor &AlbumMonitor() const;
    /// One tick of the album monitor's timer (Timer1).
    void AlbumMonitorTick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateMonitorTimer();
    void PlaySelectedTrack();
    void PlayByEnter();
    void PlayWholeAlbum();
    void StartSelectedTrack(bool byEnter);
    void SyncMonitorTimer();
    /// A change the player announced: album play may move on, and a player that has gone takes the strip.
    void PlayerChanged(const TPlayerChange &change);
    /// Carries out what the album monitor decided.
    void ActOn(const TMonitorStep &step);
    /// The desktop could not open a track or an address: say why, and undo what starting the track showed.
    void OpenFailed(const QString &target, const QString &reason);
    struct TBeforeStart
    {
        QString Title;
        QStringList Panel;
        QString File;
    } m_beforeStart;
    TAlbumMonitor m_monitor;
    QTimer *Timer1 = nullptr;           // the album monitor's timer

    IShellOpen &m_shell;
    TMessages &m_messages;
    IFileDialogs &m_fileDialogs;
    IPlayerLink &m_player;
    IColourDialog &m_colourDialog;
    IFileAssociation &m_association;
    std::unique_ptr<IDescriptionView> m_descriptionView;
    QStringList m_arguments;
    TForm2 *m_form2 = nullptr;
    TForm3 *m_form3 = nullptr;
    TForm4 *m_form4 = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm6 *m_form6 = nullptr;
    TForm7 *m_form7 = nullptr;
    TFileFindForm *m_fileFindForm = nullptr;
    TForm8 *m_form8 = nullptr;

    TOpenList m_list;
    TCatalogueTree *m_tree;
    QStringList m_quickLoadFiles;
    QString m_defaultSettingsFile;
    QString m_appliedSettingsFile; // the settings file applied last, by a list or the settings dialog
    QString m_shownDescription;
    bool m_firstPaintPending = true;
    bool m_firstPaintScheduled = false;

    // Controls, named as the user sees them.
    QWidget *Panel1 = nullptr;     // left side
    QWidget *Panel3 = nullptr;     // top strip
    QComboBox *ComboBox1 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QWidget *Panel5 = nullptr;     // transport strip
    THETreeView *TreeView1 = nullptr;
    QWidget *Panel2 = nullptr;     // bottom strip
    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QWidget *Panel4 = nullptr;     // right side
    QWidget *Panel6 = nullptr;     // information panel
    QWidget *Panel7 = nullptr;     // chrome buttons
    QToolButton *SpeedButton12 = nullptr; // close
    QToolButton *SpeedButton13 = nullptr; // maximise and restore
    QLabel *Label6 = nullptr;      // album
    QLabel *Label7 = nullptr;      // author
    QLabel *Label8 = nullptr;      // track
    QLabel *Label9 = nullptr;      // play time
    TLinkLabel *Label10 = nullptr; // URL
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet2 = nullptr;  // image tab
    TImageView *Image1 = nullptr;
    QToolButton *SpeedButton7 = nullptr;  // transport strip: play
    QToolButton *SpeedButton8 = nullptr;  // pause
    QToolButton *SpeedButton9 = nullptr;  // stop
    QToolButton *SpeedButton10 = nullptr; // volume up
    QToolButton *SpeedButton11 = nullptr; // volume down
    QMenu *PopupMenu1 = nullptr;   // tree context menu
    QAction *N1 = nullptr;         // play
    QAction *N10 = nullptr;        // play the whole album
    QAction *N2 = nullptr;         // delete
    QAction *N5 = nullptr;         // information
    QAction *ID3tag2 = nullptr;    // the track's ID3 tag
    QAction *N7 = nullptr;         // separator
    QAction *N9 = nullptr;         // search
    QAction *N6 = nullptr;         // hide the panel
    QMenu *PopupMenu2 = nullptr;   // main menu
    QAction *N11 = nullptr;        // undo
    QAction *N12 = nullptr;        // redo
    QAction *N13 = nullptr;        // separator
    QAction *lstKestrune1 = nullptr;
    QAction *N3 = nullptr;         // settings
    QAction *HTML1 = nullptr;      // HTML export
    QAction *M3U1 = nullptr;       // M3U export
    QAction *N4 = nullptr;         // file search
    QAction *N8 = nullptr;         // make the list the default
    QAction *ID3TAG1 = nullptr;    // the ID3 tag editor
    // Window-wide keyboard actions.
    QAction *SaveAction = nullptr;
    QAction *NewList = nullptr;
    QAction *OpenListAction = nullptr;
    QAction *CollapseAll = nullptr;
    QAction *DiscriptionShow = nullptr;
    QAction *ImageShow = nullptr;
    QAction *AboutShow = nullptr;
    QAction *SelectList = nullptr;
    QAction *Delete = nullptr;
    QAction *Find = nullptr;
};
