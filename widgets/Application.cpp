// Application: the last line of the general error handler, around every event the program receives.
#include "Application.h"

#include "Messages.h"

TKestruneApplication::TKestruneApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TKestruneApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        TMessageBoxes boxes;
        ReportCurrentException(m_messages ? *m_messages : boxes);
        return false;
    }
}
