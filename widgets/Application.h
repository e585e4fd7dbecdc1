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
    bool notify(QObject *receiver, QEvent *event) override;

private:
    TMessages *m_messages = nullptr;
};
