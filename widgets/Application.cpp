// Application: the last line of the general error handler, around every event the program receives.
#include "Application.h"

#include "Messages.h"

#include <QLibraryInfo>
#include <QTranslator>

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

bool TKestruneApplication::LoadQtTranslations()
{
    static QTranslator translator;
    if (!translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
