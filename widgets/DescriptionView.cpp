// DescriptionView: the web view for description pages and the file address it is sent to.
#include "DescriptionView.h"

#include "Paths.h"
#include "language.h"

#include <QDir>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

QUrl DescriptionUrl(const QString &storedPath)
{
    // A bare "file://" would show the file system's root; a blank path shows an empty page.
    if (language::Trim(storedPath).isEmpty())
        return QUrl(u"about:blank"_s);
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(Paths::toFileSystem(storedPath)));
}

TWebDescriptionView::TWebDescriptionView() : m_view(new QWebEngineView)
{
    m_view->settings()->setDefaultTextEncoding(u"windows-1251"_s);
}

QWidget *TWebDescriptionView::Widget()
{
    return m_view;
}

void TWebDescriptionView::Navigate(const QUrl &url)
{
    m_view->setUrl(url);
}

TRecordingDescriptionView::TRecordingDescriptionView() : m_widget(new QWidget) {}
