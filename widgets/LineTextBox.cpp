// LineTextBox: a text box for long texts written by a running job, such as the file search's albums.
#include "LineTextBox.h"

#include "LinesFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {
constexpr int PieceMs = 10; // what one turn of the event loop spends building the editor's document
} // namespace

TLineView::TLineView(QWidget *parent) : QAbstractScrollArea(parent)
{
    // The look of a plain text box: the base colour, a text cursor, the same margin.
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(20);
}

void TLineView::Clear()
{
    m_lines = QStringList();
    m_document = nullptr;
    m_released = 0;
    m_longestMeasured = -1;
    m_widest = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateRanges();
    viewport()->update();
}

void TLineView::Append(const QStringList &lines)
{
    const qsizetype before = m_lines.size();
    for (const QString &line : lines)
        Measure(line);
    m_lines.append(lines);
    UpdateRanges();
    // Lines below the view change only the scroll bar.
    const int lineHeight = fontMetrics().height();
    if (before <= verticalScrollBar()->value() + viewport()->height() / lineHeight + 1)
        viewport()->update();
}

QStringList TLineView::Lines() const
{
    if (m_released == 0)
        return m_lines;
    QString held = m_document->toRawText();
    held.replace(QChar::ParagraphSeparator, u'\n');
    return LinesFile::splitLines(held) + m_lines.mid(m_released);
}

QString TLineView::Line(qsizetype i) const
{
    return i < m_released ? m_document->findBlockByNumber(int(i)).text() : m_lines.at(i);
}

void TLineView::Release(const QTextDocument *document, qsizetype lines)
{
    m_document = document;
    for (qsizetype i = m_released; i < lines; ++i)
        m_lines[i] = QString();
    m_released = lines;
}

void TLineView::Measure(const QString &line)
{
    if (line.size() <= m_longestMeasured)
        return;
    m_longestMeasured = line.size();
    m_widest = qMax(m_widest, fontMetrics().horizontalAdvance(line));
}

void TLineView::UpdateRanges()
{
    const int lineHeight = fontMetrics().height();
    const int shown = qMax(1, (viewport()->height() - 2 * Margin) / lineHeight);
    QScrollBar *v = verticalScrollBar();
    v->setPageStep(shown);
    v->setRange(0, int(qMax<qsizetype>(0, m_lines.size() - shown)));
    QScrollBar *h = horizontalScrollBar();
    h->setPageStep(viewport()->width());
    h->setRange(0, qMax(0, m_widest + 2 * Margin - viewport()->width()));
}

void TLineView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.height();
    const int x = Margin - horizontalScrollBar()->value();
    const QRect area = event->rect();
    const qsizetype top = verticalScrollBar()->value();
    // As in a plain text editor, the margin above the text shows only at its top.
    const int y = top == 0 ? Margin : 0;
    const qsizetype from = top + qMax(0, (area.top() - y) / lineHeight);
    const qsizetype to = qMin(m_lines.size(), top + (area.bottom() - y) / lineHeight + 1);
    int widest = m_widest;
    for (qsizetype i = from; i < to; ++i) {
        const QString line = Line(i);
        painter.drawText(x, y + int(i - top) * lineHeight + metrics.ascent(), line);
        // Lines seen are measured, as an editor measures the lines it lays out.
        widest = qMax(widest, metrics.horizontalAdvance(line));
    }
    if (widest > m_widest) {
        m_widest = widest;
        QTimer::singleShot(0, this, &TLineView::UpdateRanges);
    }
}

void TLineView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateRanges();
}

void TLineView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_longestMeasured = -1;
        m_widest = 0;
        for (const QString &line : std::as_const(m_lines))
            Measure(line);
        UpdateRanges();
    }
}

void TLineView::scrollContentsBy(int, int)
{
    viewport()->update();
}

TLineTextBox::TLineTextBox(QWidget *parent)
    : QStackedWidget(parent), m_view(new TLineView(this)), m_editor(new QPlainTextEdit(this)), m_build(new QTimer(this))
{
    m_view->setObjectName(QStringLiteral("Lines"));
    m_editor->setObjectName(QStringLiteral("Editor"));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Both stay shown, the one in use on top: a plain text editor shown again lays out its whole text.
    static_cast<QStackedLayout *>(layout())->setStackingMode(QStackedLayout::StackAll);
    m_editorFocus = m_editor->focusPolicy();
    addWidget(m_editor);
    addWidget(m_view);
    PutOnTop(m_editor);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    m_build->setInterval(0);
    connect(m_build, &QTimer::timeout, this, &TLineTextBox::BuildPiece);
}

void TLineTextBox::Start()
{
    m_build->stop();
    m_end = QTextCursor();
    m_built = 0;
    m_appending = true;
    m_view->Clear();
    const bool focused = m_editor->hasFocus();
    PutOnTop(m_view);
    m_editor->clear();
    if (focused)
        m_view->setFocus();
}

void TLineTextBox::Append(const QStringList &lines)
{
    m_view->Append(lines);
}

void TLineTextBox::Finish()
{
    if (!m_appending)
        return;
    m_appending = false;
    // The hidden editor takes the text a piece at a time, its layout following each piece: no step
    // at the end goes over the whole text again.
    m_editor->setUndoRedoEnabled(false);
    m_end = QTextCursor(m_editor->document());
    m_build->start();
}

bool TLineTextBox::Editing() const
{
    return currentWidget() == m_editor;
}

QStringList TLineTextBox::Lines() const
{
    if (!Editing())
        return m_view->Lines();
    // The document's own text: toPlainText() turns no-break spaces into blanks and line and paragraph
    // separators into breaks, all of which a file name may hold. Blocks are joined by U+2029; a line
    // put in by Append() never holds that character.
    QString text = m_editor->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return LinesFile::splitLines(text);
}

QPlainTextEdit *TLineTextBox::Editor()
{
    BuildAll();
    return m_editor;
}

void TLineTextBox::BuildPiece()
{
    // One insertion costs the document about the same per line and much per call: one large piece a
    // turn, as long as the last piece's pace says a turn may spend on it.
    const qsizetype count = m_view->Count();
    const qsizetype n = qMin(m_pieceLines, count - m_built);
    QString piece;
    for (qsizetype i = m_built; i < m_built + n; ++i) {
        if (i > 0)
            piece += u'\n';
        piece += m_view->Line(i);
    }
    QElapsedTimer insertion;
    insertion.start();
    m_end.insertText(piece);
    m_built += n;
    // The lines in the document are painted from it: the text is not held twice.
    m_view->Release(m_editor->document(), m_built);
    const qint64 ns = qMax<qint64>(1, insertion.nsecsElapsed());
    m_pieceLines = qBound(qsizetype(256), qsizetype(qMax<qsizetype>(n, 1) * PieceMs * 1000000 / ns), qsizetype(50000));
    if (m_built == count)
        TakeOver();
}

void TLineTextBox::BuildAll()
{
    if (m_end.isNull())
        return;
    // The rest of a long text takes a noticeable moment.
    const bool slow = m_view->Count() - m_built > 20000;
    if (slow)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_pieceLines = std::numeric_limits<qsizetype>::max() / 2;
    BuildPiece();
    if (slow)
        QGuiApplication::restoreOverrideCursor();
}

void TLineTextBox::TakeOver()
{
    m_build->stop();
    m_end = QTextCursor();
    const int top = m_view->verticalScrollBar()->value();
    const int left = m_view->horizontalScrollBar()->value();
    const bool focused = m_view->hasFocus();
    m_editor->setUndoRedoEnabled(true);
    PutOnTop(m_editor);
    // The editor scrolls by lines as laid out, and a line separator (U+2028) in a name makes two. The
    // caret goes to the first line in view, so that typing does not move the text; put there once the
    // line is in view, or the editor scrolls by part of a line to show it.
    const QTextBlock first = m_editor->document()->findBlockByNumber(top);
    m_editor->verticalScrollBar()->setValue(first.firstLineNumber());
    m_editor->horizontalScrollBar()->setValue(left);
    m_editor->setTextCursor(QTextCursor(first));
    m_view->Clear();
    if (focused)
        m_editor->setFocus();
}

void TLineTextBox::PutOnTop(QWidget *shown)
{
    const bool editing = shown == m_editor;
    m_view->setVisible(!editing);
    // The editor under the view takes no keys.
    m_editor->setFocusPolicy(editing ? m_editorFocus : Qt::NoFocus);
    setFocusProxy(shown);
    setCurrentWidget(shown);
}

bool TLineTextBox::eventFilter(QObject *watched, QEvent *event)
{
    // Read only while the job appends; after it, the first click or key gives the text to the editor,
    // which then takes the event as its own.
    if (m_end.isNull())
        return QStackedWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == m_view->viewport()) {
            const auto *press = static_cast<QMouseEvent *>(event);
            BuildAll();
            m_editor->setFocus(Qt::MouseFocusReason);
            QMouseEvent moved(press->type(), m_editor->viewport()->mapFromGlobal(press->globalPosition()),
                              press->globalPosition(), press->button(), press->buttons(), press->modifiers());
            QCoreApplication::sendEvent(m_editor->viewport(), &moved);
            return true;
        }
        break;
    case QEvent::KeyPress:
        // Escape is the window's: it closes a dialog without building the text first.
        if (watched == m_view && static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape) {
            BuildAll();
            m_editor->setFocus(Qt::OtherFocusReason);
            QCoreApplication::sendEvent(m_editor, event);
            return true;
        }
        break;
    default:
        break;
    }
    return QStackedWidget::eventFilter(watched, event);
}
