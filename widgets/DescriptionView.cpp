// DescriptionView: the web view for description pages and the file address it is sent to.
#include "DescriptionView.h"

#include "Paths.h"
#include "language.h"

#include <QDir>
#include <QVBoxLayout>
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

TWebDescriptionView::TWebDescriptionView() : m_holder(new QWidget)
{
    // An empty page until the first one is shown.
    m_holder->setBackgroundRole(QPalette::Base);
    m_holder->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(m_holder);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget *TWebDescriptionView::Widget()
{
    return m_holder;
}

void TWebDescriptionView::Navigate(const QUrl &url)
{
    // The web engine and its helper processes start with the first page: a window that never shows
    // a description never pays for them.
    if (!m_view) {
        if (url == QUrl(u"about:blank"_s))
            return;
        m_view = new QWebEngineView(m_holder);
        m_view->settings()->setDefaultTextEncoding(u"windows-1251"_s);
        m_holder->layout()->addWidget(m_view);
    }
    m_view->setUrl(url);
}

TRecordingDescriptionView::TRecordingDescriptionView() : m_widget(new QWidget) {}
