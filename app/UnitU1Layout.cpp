// UnitU1Layout: the controls of the main window, its menus and keyboard actions, and their wiring.
#include "UnitU1.h"

#include "AboutPage.h"
#include "CatalogueTree.h"
#include "DescriptionView.h"
#include "He1.h"
#include "ImageView.h"
#include "LinkLabel.h"
#include "PlayerLink.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QWidget *strip(const QString &name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    return w;
}

QToolButton *flatButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

void TForm1::CreateControls()
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Kestrune v. 0.98"_s);
    // The window's bounds (of its client area) before any settings file is applied.
    setGeometry(92, 74, 644, 469);

    auto *form = new QHBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    Panel1 = strip(u"Panel1"_s, this);
    Panel1->setFixedWidth(297);
    Panel4 = strip(u"Panel4"_s, this);
    // "Скрыть панель" narrows the window to the left side, cutting the right side off entirely.
    Panel4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    form->addWidget(Panel1);
    form->addWidget(Panel4, 1);
    CreateLeftSide(Panel1);
    CreateRightSide(Panel4);
    CreateMenus();
    CreateActions();
    ConnectControls();
}

void TForm1::CreateLeftSide(QWidget *left)
{
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel3 = strip(u"Panel3"_s, left);
    auto *top = new QHBoxLayout(Panel3);
    top->setContentsMargins(2, 2, 2, 2);
    top->setSpacing(2);
    ComboBox1 = new QComboBox(Panel3);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(10);
    SpeedButton5 = flatButton(u"SpeedButton5"_s, u"+"_s, Panel3);
    OnGuarded(SpeedButton5, &QToolButton::clicked, &TForm1::ShowQuickLoadManager);
    top->addWidget(ComboBox1, 1);
    top->addWidget(SpeedButton5);
    column->addWidget(Panel3);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    Panel5 = strip(u"Panel5"_s, left);
    Panel5->setFixedWidth(21);
    auto *transport = new QVBoxLayout(Panel5);
    transport->setContentsMargins(0, 0, 0, 0);
    transport->setSpacing(0);
    const struct
    {
        QToolButton *TForm1::*member;
        const char16_t *name;
        QStyle::StandardPixmap icon;
        const char16_t *caption;
        const char16_t *hint;
        void (IPlayerLink::*command)();
    } transportButtons[] = {
        { &TForm1::SpeedButton7, u"SpeedButton7", QStyle::SP_MediaPlay, u"", u"Старт", &IPlayerLink::PlayerPlay },
        { &TForm1::SpeedButton8, u"SpeedButton8", QStyle::SP_MediaPause, u"", u"Пауза", &IPlayerLink::PlayerPause },
        { &TForm1::SpeedButton9, u"SpeedButton9", QStyle::SP_MediaStop, u"", u"Стоп", &IPlayerLink::PlayerStop },
        { &TForm1::SpeedButton10, u"SpeedButton10", QStyle::SP_CustomBase, u"+", u"Прибавить громкость",
          &IPlayerLink::PlayerVolumeUp },
        { &TForm1::SpeedButton11, u"SpeedButton11", QStyle::SP_CustomBase, u"-", u"Убавить громкость",
          &IPlayerLink::PlayerVolumeDown },
    };
    for (const auto &t : transportButtons) {
        QToolButton *b = flatButton(QString::fromUtf16(t.name), QString::fromUtf16(t.caption), Panel5);
        b->setToolTip(QString::fromUtf16(t.hint));
        b->setFixedSize(21, 21);
        if (t.icon != QStyle::SP_CustomBase) {
            b->setIcon(style()->standardIcon(t.icon));
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
        }
        transport->addWidget(b);
        this->*t.member = b;
        // The strip sends to whatever player was found last; it never looks for one itself.
        OnGuarded(b, &QToolButton::clicked, [this, command = t.command] { (m_player.*command)(); });
    }
    transport->addStretch();
    Panel5->hide(); // shown once the player is found
    TreeView1 = new THETreeView(m_tree, left);
    TreeView1->setObjectName(u"TreeView1"_s);
    middle->addWidget(Panel5);
    middle->addWidget(TreeView1, 1);
    column->addLayout(middle, 1);

    Panel2 = strip(u"Panel2"_s, left);
    auto *bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(1, 2, 1, 2);
    bottom->setSpacing(0);
    SpeedButton1 = flatButton(u"SpeedButton1"_s, u"Открыть"_s, Panel2);
    SpeedButton1->setToolTip(u"Открыть список"_s);
    SpeedButton6 = flatButton(u"SpeedButton6"_s, u"Сохранить"_s, Panel2);
    SpeedButton6->setToolTip(u"Сохранить список"_s);
    SpeedButton2 = flatButton(u"SpeedButton2"_s, u"Создать"_s, Panel2);
    SpeedButton2->setToolTip(u"Создать новый список"_s);
    SpeedButton4 = flatButton(u"SpeedButton4"_s, u"Свернуть"_s, Panel2);
    SpeedButton3 = flatButton(u"SpeedButton3"_s, u"Меню"_s, Panel2);
    OnGuarded(SpeedButton1, &QToolButton::clicked, &TForm1::OpenListFile);
    OnGuarded(SpeedButton6, &QToolButton::clicked, &TForm1::SaveListAs);
    OnGuarded(SpeedButton2, &QToolButton::clicked, &TForm1::ShowBuilder);
    OnGuarded(SpeedButton4, &QToolButton::clicked, &TForm1::CollapseTree);
    OnGuarded(SpeedButton3, &QToolButton::clicked, &TForm1::MenuButtonClicked);
    // The five captions fit the strip's width in a slightly smaller type.
    QFont captions = Panel2->font();
    captions.setPointSizeF(captions.pointSizeF() - 1);
    for (QToolButton *b : { SpeedButton1, SpeedButton6, SpeedButton2, SpeedButton4, SpeedButton3 }) {
        b->setFont(captions);
        bottom->addWidget(b);
    }
    bottom->addStretch();
    column->addWidget(Panel2);
}

void TForm1::CreateRightSide(QWidget *right)
{
    auto *column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel6 = strip(u"Panel6"_s, right);
    Panel6->setFixedHeight(86);
    auto *panel = new QHBoxLayout(Panel6);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(0);
    auto *grid = new QGridLayout;
    grid->setContentsMargins(6, 2, 0, 2);
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(6);
    const char16_t *captions[] = { u"Альбом:", u"Композитор:", u"Композиция:", u"Продолжительность:", u"URL:" };
    for (int i = 0; i < 5; ++i)
        grid->addWidget(label(u"Label%1"_s.arg(i + 1), QString::fromUtf16(captions[i]), Panel6), i, 0);
    // Values from the list: elided, never widening the window, never read as markup.
    for (auto [member, name] : { std::pair{ &Label6, u"Label6" }, std::pair{ &Label7, u"Label7" },
                                 std::pair{ &Label8, u"Label8" }, std::pair{ &Label9, u"Label9" } }) {
        *member = new TElidedLabel(QString(), Panel6);
        (*member)->setObjectName(QString::fromUtf16(name));
    }
    Label10 = new TLinkLabel(QString(), 0, Panel6);
    Label10->setObjectName(u"Label10"_s);
    int row = 0;
    for (QLabel *value : { Label6, Label7, Label8, Label9, static_cast<QLabel *>(Label10) })
        grid->addWidget(value, row++, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    panel->addLayout(grid, 1);

    // Window buttons of the borderless mode, drawn with the style's own title-bar symbols.
    Panel7 = strip(u"Panel7"_s, Panel6);
    Panel7->setFixedWidth(24);
    SpeedButton12 = flatButton(u"SpeedButton12"_s, QString(), Panel7);
    SpeedButton12->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    SpeedButton13 = flatButton(u"SpeedButton13"_s, QString(), Panel7);
    SpeedButton13->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    for (auto [button, top] : { std::pair{ SpeedButton12, 2 }, std::pair{ SpeedButton13, 20 } }) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(12, 12));
        button->setGeometry(2, top, 18, 18);
    }
    OnGuarded(SpeedButton12, &QToolButton::clicked, &TForm1::CloseButtonClicked);
    OnGuarded(SpeedButton13, &QToolButton::clicked, &TForm1::MaximizeButtonClicked);
    panel->addWidget(Panel7);
    Panel7->hide();
    column->addWidget(Panel6);

    PageControl1 = new QTabWidget(right);
    PageControl1->setObjectName(u"PageControl1"_s);
    PageControl1->setTabPosition(QTabWidget::South);
    QWidget *description = m_descriptionView->Widget();
    description->setObjectName(u"WebBrowser1"_s);
    auto *sheet1 = new QWidget;
    sheet1->setObjectName(u"TabSheet1"_s);
    auto *sheet1Layout = new QVBoxLayout(sheet1);
    sheet1Layout->setContentsMargins(0, 0, 0, 0);
    sheet1Layout->addWidget(description);
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(u"TabSheet2"_s);
    TabSheet2->setAutoFillBackground(true);
    auto *sheet2Layout = new QVBoxLayout(TabSheet2);
    sheet2Layout->setContentsMargins(0, 0, 0, 0);
    Image1 = new TImageView(TabSheet2);
    Image1->setObjectName(u"Image1"_s);
    sheet2Layout->addWidget(Image1);
    QWidget *sheet3 = CreateAboutPage(m_shell);
    sheet3->setObjectName(u"TabSheet3"_s);
    PageControl1->addTab(sheet1, u"Описание"_s);
    PageControl1->addTab(TabSheet2, u"Изображение"_s);
    PageControl1->addTab(sheet3, u"Авторы..."_s);
    // The image tab is in front until the settings say otherwise: the description view's engine is
    // started only when a page is to be shown.
    PageControl1->setCurrentIndex(ImageTab);
    column->addWidget(PageControl1, 1);
}

QAction *TForm1::MenuItem(QMenu *menu, const QString &name, const QString &caption, Handler handler,
                          const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    if (handler)
        OnGuarded(a, &QAction::triggered, handler);
    return a;
}

void TForm1::CreateMenus()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    N1 = MenuItem(PopupMenu1, u"N1"_s, u"Воспроизвести"_s, &TForm1::PlaySelectedTrack);
    N10 = MenuItem(PopupMenu1, u"N10"_s, u"Играть весь альбом"_s, &TForm1::PlayWholeAlbum);
    // Shift+Del and F3 are the window's Delete and Find actions; the items show them.
    N2 = MenuItem(PopupMenu1, u"N2"_s, u"Удалить"_s, &TForm1::DeleteSelected, QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    N5 = MenuItem(PopupMenu1, u"N5"_s, u"Информация"_s, &TForm1::ShowInformation, QKeySequence(Qt::Key_F7));
    ID3tag2 = MenuItem(PopupMenu1, u"ID3tag2"_s, u"ID3 tag"_s, &TForm1::HandOverToTagEditor, QKeySequence(Qt::Key_F4));
    N7 = PopupMenu1->addSeparator();
    N7->setObjectName(u"N7"_s);
    N9 = MenuItem(PopupMenu1, u"N9"_s, u"Поиск"_s, &TForm1::ShowSearch, QKeySequence(Qt::Key_F3));
    N6 = MenuItem(PopupMenu1, u"N6"_s, u"Скрыть панель"_s, &TForm1::HidePanel, QKeySequence(Qt::Key_F10));
    // The menu's own keys work while the tree has the focus.
    for (QAction *a : { N5, ID3tag2, N6 }) {
        a->setShortcutContext(Qt::WidgetShortcut);
        TreeView1->addAction(a);
    }
    TreeView1->SetPopupMenu(PopupMenu1);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(u"PopupMenu2"_s);
    PopupMenu2->setToolTipsVisible(true); // undo and redo name the file they change
    N11 = MenuItem(PopupMenu2, u"N11"_s, u"Отменить"_s, &TForm1::UndoChange, QKeySequence(Qt::CTRL | Qt::Key_Z));
    N12 = MenuItem(PopupMenu2, u"N12"_s, u"Повторить"_s, &TForm1::RedoChange, QKeySequence(Qt::CTRL | Qt::Key_Y));
    N12->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    // Anywhere in the window but in a text field, which keeps these keys for its own text.
    for (QAction *a : { N11, N12 }) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    N13 = PopupMenu2->addSeparator();
    N13->setObjectName(u"N13"_s);
    ShowUndoState();
    lstKestrune1 = MenuItem(PopupMenu2, u"lstKestrune1"_s, u"Связать файлы *.lst с Kestrune"_s,
                            &TForm1::AssociateListFiles);
    N3 = MenuItem(PopupMenu2, u"N3"_s, u"Настройки"_s, &TForm1::ShowSettingsDialog);
    HTML1 = MenuItem(PopupMenu2, u"HTML1"_s, u"Генерация HTML файла списка"_s, &TForm1::ExportHtml);
    M3U1 = MenuItem(PopupMenu2, u"M3U1"_s, u"Экспорт в M3U"_s, &TForm1::ExportM3u);
    N4 = MenuItem(PopupMenu2, u"N4"_s, u"Поиск файлов"_s, &TForm1::ShowFileSearch);
    N8 = MenuItem(PopupMenu2, u"N8"_s, u"Сделать список используемым по умолчанию"_s, &TForm1::MakeListDefault);
    ID3TAG1 = MenuItem(PopupMenu2, u"ID3TAG1"_s, u"Редактор ID3 тегов"_s, &TForm1::ShowTagEditor);
}

QAction *TForm1::WindowAction(const QString &name, const QKeySequence &shortcut, Handler handler)
{
    auto *a = new QAction(this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    OnGuarded(a, &QAction::triggered, handler);
    return a;
}

void TForm1::CreateActions()
{
    SaveAction = WindowAction(u"SaveAction"_s, QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::SaveListAs);
    NewList = WindowAction(u"NewList"_s, QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::ShowBuilder);
    OpenListAction = WindowAction(u"OpenList"_s, QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::OpenListFile);
    CollapseAll = WindowAction(u"CollapseAll"_s, QKeySequence(Qt::CTRL | Qt::Key_C), &TForm1::CollapseTree);
    DiscriptionShow = WindowAction(u"DiscriptionShow"_s, QKeySequence(Qt::CTRL | Qt::Key_D), &TForm1::ShowDescriptionTab);
    ImageShow = WindowAction(u"ImageShow"_s, QKeySequence(Qt::CTRL | Qt::Key_I), &TForm1::ShowImageTab);
    AboutShow = WindowAction(u"AboutShow"_s, QKeySequence(Qt::CTRL | Qt::Key_A), &TForm1::ShowAboutTab);
    SelectList = WindowAction(u"SelectList"_s, QKeySequence(Qt::CTRL | Qt::Key_L), &TForm1::SelectListAction);
    Delete = WindowAction(u"Delete"_s, QKeySequence(Qt::SHIFT | Qt::Key_Delete), &TForm1::DeleteSelected);
    Find = WindowAction(u"Find"_s, QKeySequence(Qt::Key_F3), &TForm1::ShowSearch);
}

void TForm1::ConnectControls()
{
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::TabChanged);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::QuickLoadChosen);
    connect(TreeView1, &THETreeView::SelectionChanged, this, &TForm1::SelectionChanged);
    connect(Label10, &TLinkLabel::Clicked, this, &TForm1::UrlClicked);
    connect(TreeView1, &THETreeView::EditingBegins, this, &TForm1::EditingBegins);
    connect(TreeView1, &THETreeView::EditingEnds, this, &TForm1::EditingEnds);
    OnGuarded(TreeView1, &THETreeView::NodeDoubleClicked, &TForm1::PlaySelectedTrack);
    OnGuarded(TreeView1, &THETreeView::EnterPressed, &TForm1::PlayByEnter);
    CreateMonitorTimer();
    // Dragging the information panel moves the window.
    Panel6->installEventFilter(this);

    // A Ctrl+S typed into the open drop-down list arrives at the list view, not at the window's actions.
    ComboBox1->installEventFilter(this);
    ComboBox1->view()->installEventFilter(this);
    if (ComboBox1->lineEdit())
        ComboBox1->lineEdit()->installEventFilter(this);
}
