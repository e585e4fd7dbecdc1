// ColourDialog: the colour-choice dialog, behind a seam so that tests answer it.
#pragma once

#include <QColor>
#include <QList>
#include <optional>

class QWidget;

/// Shows a colour-choice dialog.
class IColourDialog
{
public:
    virtual ~IColourDialog() = default;
    /// A modal dialog that starts with initial selected; an opaque colour, or nullopt when cancelled.
    virtual std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) = 0;
};

/// The toolkit's colour dialog.
class TQtColourDialog : public IColourDialog
{
public:
    std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) override;
};

/// Answers from a queue and records the colour each dialog started with; an empty queue cancels.
class TScriptedColourDialog : public IColourDialog
{
public:
    QList<std::optional<QColor>> Answers;
    QList<QColor> Initial;

    /// Queues a chosen colour; like the real dialog, it can only give a valid, opaque one.
    void Answer(const QColor &colour);
    void Cancel() { Answers.append(std::nullopt); }
    std::optional<QColor> ChooseColour(QWidget *parent, const QColor &initial) override;
};
