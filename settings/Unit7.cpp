// Unit7: TForm7, the colour rows, the three options and the settings file buttons.
#include "Unit7.h"

#include "ColourDialog.h"
#include "FileDialogs.h"
#include "Messages.h"
#include "SchemeColours.h"
#include "language.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Settings::TColourKey;

namespace {
const QString IniFilter = u"INI файлы|*.ini"_s;
} // namespace

TForm7::TForm7(ISettingsHost &host, const TSettingsDialogServices &services, QWidget *parent)
    : QDialog(parent), m_host(host), m_services(services)
{
    setObjectName(u"Form7"_s);
    setWindowTitle(u"Настройки"_s);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *colours = new QVBoxLayout;
    colours->addWidget(ColourGroup(u"Список"_s, { { u"Фон:", Settings::TreeColour },
                                                  { u"Шрифт:", Settings::TreeFontColour },
                                                  { u"Выбор листа:", Settings::ComboColour },
                                                  { u"Шрифт:", Settings::ComboFontColour } }));
    colours->addWidget(ColourGroup(u"Панель управления списком"_s,
                                   { { u"Фон:", Settings::PanelColour }, { u"Шрифт:", Settings::PanelFontColour } }));
    colours->addWidget(ColourGroup(u"Информационная панель"_s, { { u"Фон:", Settings::SystemPanelColour },
                                                                 { u"Шрифт:", Settings::SystemPanelFont } }));
    colours->addWidget(ColourGroup(u"Изображение"_s, { { u"Фон:", Settings::ImageColour } }));

    auto *options = new QGroupBox(u"Настройки"_s, this);
    options->setObjectName(u"GroupBox5"_s);
    auto *optionsLayout = new QVBoxLayout(options);
    CheckBox1 = new QCheckBox(u"Редактирование на ходу"_s, options);
    CheckBox2 = new QCheckBox(u"Поверх остальных окон"_s, options);
    CheckBox3 = new QCheckBox(u"Нестандартный вид формы"_s, options);
    int n = 1;
    for (QCheckBox *box : { CheckBox1, CheckBox2, CheckBox3 }) {
        box->setObjectName(u"CheckBox%1"_s.arg(n++));
        optionsLayout->addWidget(box);
    }
    // A state set when the dialog is shown applies what the window has already: nothing changes.
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { m_host.SetInPlaceEditing(on); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) { m_host.SetStayOnTop(on); });
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) { m_host.SetBorderless(on); });

    Button10 = new QPushButton(u"Сохранить файл настроек"_s, this);
    Button11 = new QPushButton(u"Открыть файл настроек"_s, this);
    Button12 = new QPushButton(u"Закрыть"_s, this);
    auto *right = new QVBoxLayout;
    right->addWidget(options);
    n = 10;
    for (QPushButton *b : { Button10, Button11, Button12 }) {
        b->setObjectName(u"Button%1"_s.arg(n++));
        b->setAutoDefault(false);
        right->addWidget(b);
    }
    right->addStretch();
    connect(Button10, &QPushButton::clicked, this, &TForm7::SaveSettingsFile);
    connect(Button11, &QPushButton::clicked, this, &TForm7::OpenSettingsFile);
    connect(Button12, &QPushButton::clicked, this, &QDialog::hide);

    auto *columns = new QHBoxLayout(this);
    columns->addLayout(colours);
    columns->addLayout(right);
    columns->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox *TForm7::ColourGroup(const QString &title,
                               std::initializer_list<std::pair<const char16_t *, TColourKey>> rows)
{
    auto *group = new QGroupBox(title, this);
    auto *grid = new QGridLayout(group);
    int row = 0;
    for (const auto &[caption, key] : rows) {
        const int number = ++m_rowCount; // numbered from the top of the dialog
        auto *box = new QLineEdit(group);
        box->setObjectName(u"Edit%1"_s.arg(number));
        box->setFixedWidth(100);
        // Only the combo box rows accept typing, and nothing reads it; the others are grey and display only.
        if (key != Settings::ComboColour && key != Settings::ComboFontColour) {
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            QPalette grey = box->palette();
            grey.setColor(QPalette::Base, grey.color(QPalette::Window));
            box->setPalette(grey);
        }
        auto *choose = new QPushButton(u"Выбрать"_s, group);
        choose->setObjectName(u"Button%1"_s.arg(number));
        choose->setAutoDefault(false);
        connect(choose, &QPushButton::clicked, this, [this, key = key] { ChooseColour(key); });
        auto *label = new QLabel(QString::fromUtf16(caption), group);
        // One caption width in every group, so that the boxes line up.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(u"Выбор листа: "_s));
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(choose, row, 2);
        m_boxes[key] = box;
        ++row;
    }
    return group;
}

void TForm7::ShowSettings()
{
    ClearOpenName();
    CheckBox3->setChecked(m_host.Borderless());
    CheckBox1->setChecked(m_host.InPlaceEditing());
    CheckBox2->setChecked(m_host.StaysOnTop());
    show();
    raise();
    activateWindow();
}

void TForm7::ChooseColour(TColourKey key)
{
    RunGuarded(*m_services.Messages, [&] {
        const std::optional<QColor> colour = m_services.ColourDialog->ChooseColour(this, m_lastColour);
        if (!colour)
            return;
        m_lastColour = *colour;
        const Settings::TColour value = SchemeColours::FromColour(*colour);
        m_boxes[key]->setText(QString::number(value));
        m_host.SetColour(key, value);
    });
}

void TForm7::OpenSettingsFile()
{
    RunGuarded(*m_services.Messages, [this] {
        const std::optional<TFileChoice> choice = m_services.FileDialogs->OpenFile(this, IniFilter);
        if (!choice || language::Trim(choice->Path).isEmpty())
            return;
        m_openName = choice->Path;
        m_host.LoadSettingsFile(FileDialogs::WithDefaultExtension(choice->Path, u".ini"_s));
    });
}

void TForm7::SaveSettingsFile()
{
    RunGuarded(*m_services.Messages, [this] {
        const std::optional<TFileChoice> choice = m_services.FileDialogs->SaveFile(this, IniFilter, 0, m_saveName);
        if (!choice || language::Trim(choice->Path).isEmpty())
            return;
        m_saveName = Settings::SaveName(choice->Path);
        m_host.SaveSettingsFile(m_saveName);
    });
}
