// DescriptionView: the view that shows album and track description files, behind a small interface.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QWidget;
class QWebEngineView;

/// The description view on the first tab.
class IDescriptionView
{
public:
    virtual ~IDescriptionView() = default;
    /// The widget to place on the tab; the tab takes ownership of it.
    virtual QWidget *Widget() = 0;
    /// Starts loading an address; the result is neither awaited nor checked.
    virtual void Navigate(const QUrl &url) = 0;
};

/// "file://" followed by a stored path, as the file system names it; an empty page for a blank path.
QUrl DescriptionUrl(const QString &storedPath);

/// The embedded web view, made when the first page is to be shown; pages without a charset are read
/// as windows-1251.
class TWebDescriptionView : public IDescriptionView
{
public:
    TWebDescriptionView();
    QWidget *Widget() override;
    void Navigate(const QUrl &url) override;
    /// The web view, or null while no page has been shown.
    QWebEngineView *View() const { return m_view; }

private:
    QWidget *m_holder;
    QWebEngineView *m_view = nullptr;
};

/// Remembers the addresses instead of loading them.
class TRecordingDescriptionView : public IDescriptionView
{
public:
    TRecordingDescriptionView();
    QList<QUrl> Urls;
    QWidget *Widget() override { return m_widget; }
    void Navigate(const QUrl &url) override { Urls.append(url); }

private:
    QWidget *m_widget;
};
