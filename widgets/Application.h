// Application: the QApplication that keeps failures from crossing the event loop.
#pragma once

#include <QApplication>

class TMessages;

class TKestruneApplication : public QApplication
{
public:
    TKestruneApplication(int &argc, char **argv);
    /// Where failures that escaped every handler are reported.
    void SetMessages(TMessages *messages) { m_messages = messages; }
    /// Qt's own texts (file, colour and message-box buttons) in the interface's language, Russian.
    /// False when Qt's translations are not installed.
    static bool LoadQtTranslations();
    bool notify(QObject *receiver, QEvent *event) override;

private:
    TMessages *m_messages = nullptr;
};
