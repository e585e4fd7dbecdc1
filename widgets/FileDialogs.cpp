// FileDialogs: the toolkit's open, picture and save dialogs and the filter conversion.
#include "FileDialogs.h"

#include "Paths.h"
#include "Pictures.h"

#include <QFileDialog>
#include <QFileInfo>
#include <stdexcept>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

using namespace Qt::StringLiterals;

QStringList FileDialogs::NameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        result.append(parts.at(i) + u" ("_s + patterns + u')');
    }
    return result;
}

void FileDialogs::CheckAnswer(const QString &path)
{
    const QFileInfo info(QDir::fromNativeSeparators(path));
    if (path.isEmpty() || info.isRelative() || info.isDir())
        throw std::logic_error("a file dialog never returns this path: " + path.toStdString());
}

QString FileDialogs::WithDefaultExtension(const QString &path, const QString &extension)
{
    return Paths::withDefaultExtension(path, extension);
}

namespace {

std::optional<TFileChoice> run(QFileDialog &dialog, const QString &startFolder, const QString &filter, int initialFilter,
                               const QString &startName = QString())
{
    if (!startFolder.isEmpty())
        dialog.setDirectory(startFolder);
    if (!startName.isEmpty())
        dialog.selectFile(startName);
    const QStringList filters = FileDialogs::NameFilters(filter);
    dialog.setNameFilters(filters);
    if (initialFilter >= 0 && initialFilter < filters.size())
        dialog.selectNameFilter(filters.at(initialFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    TFileChoice choice;
    choice.Path = QDir::toNativeSeparators(dialog.selectedFiles().first());
    choice.FilterIndex = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    return choice;
}

} // namespace

std::optional<TFileChoice> TQtFileDialogs::OpenFile(QWidget *parent, const QString &filter, int initialFilter)
{
    // Any name, so that a name typed without its extension reaches the caller's rule.
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    return run(dialog, StartFolder(), filter, initialFilter);
}

std::optional<TFileChoice> TQtFileDialogs::OpenPicture(QWidget *parent, const QString &filter, int initialFilter)
{
    // The preview needs the dialog's own widgets.
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    auto *preview = new QLabel(&dialog);
    preview->setObjectName(u"Preview"_s);
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        QPixmap pixmap;
        try {
            pixmap = QPixmap::fromImage(Pictures::LoadPicture(path));
        } catch (...) {
            // A file that is not a picture shows no preview.
        }
        preview->setPixmap(pixmap.isNull() ? QPixmap()
                                           : pixmap.scaled(preview->size(), Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation));
    });
    return run(dialog, StartFolder(), filter, initialFilter);
}

std::optional<TFileChoice> TQtFileDialogs::SaveFile(QWidget *parent, const QString &filter, int initialFilter,
                                                    const QString &startName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return run(dialog, StartFolder(), filter, initialFilter, startName);
}
