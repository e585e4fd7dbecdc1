// Messages: the general error handler and the program's message boxes, behind a seam for tests.
#pragma once

#include <QString>
#include <QStringList>

/// Shows the program's message boxes.
class TMessages
{
public:
    virtual ~TMessages() = default;
    /// A failure caught by the general error handler: error icon, one OK button.
    virtual void ShowError(const QString &text) = 0;
    /// One of the program's own checks: no icon, one OK button.
    virtual void ShowMessage(const QString &text) = 0;
    /// A question before a step that cannot be undone: "Да" or "Нет", "Нет" the default. True for "Да".
    virtual bool Ask(const QString &text) = 0;
};

/// Real message boxes captioned with the application title.
class TMessageBoxes : public TMessages
{
public:
    void ShowError(const QString &text) override;
    void ShowMessage(const QString &text) override;
    bool Ask(const QString &text) override;
};

/// Collects the texts instead of showing them, and answers questions as told.
class TRecordingMessages : public TMessages
{
public:
    QStringList Errors;
    QStringList Messages;
    QStringList Questions;
    QList<bool> Answers; ///< the next answers, in order; with none left, the default "Нет"
    void ShowError(const QString &text) override { Errors.append(text); }
    void ShowMessage(const QString &text) override { Messages.append(text); }
    bool Ask(const QString &text) override
    {
        Questions.append(text);
        return !Answers.isEmpty() && Answers.takeFirst();
    }
};

/// The caption of every message box: the application title, "Kestrune", or "Kestrune - " and the
/// track last started from the tree. It is the program's own state, not the name Qt knows the
/// program by (which names its configuration and data folders).
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

/// A failure's text as the error handler shows it: a full stop is appended when the last
/// character's code is above that of ".".
QString ErrorMessageText(const QString &text);

/// Reports the failure currently being handled (call inside a catch block) through messages.
void ReportCurrentException(TMessages &messages);

/// Runs one event handler inside the general error handler: a failure ends the handler and is shown.
template <class F>
void RunGuarded(TMessages &messages, F &&handler)
{
    try {
        handler();
    } catch (...) {
        ReportCurrentException(messages);
    }
}
