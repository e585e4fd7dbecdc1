// LineTextBox: a text box for long texts written by a running job, such as the file search's albums.
#pragma once

#include <QAbstractScrollArea>
#include <QStackedWidget>
#include <QTextCursor>

class QPlainTextEdit;
class QTextDocument;
class QTimer;

/// Shows a list of lines read-only, painting only those in view: appending costs next to nothing,
/// however long the text grows.
class TLineView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TLineView(QWidget *parent = nullptr);

    void Clear();
    void Append(const QStringList &lines);
    QStringList Lines() const;
    qsizetype Count() const { return m_lines.size(); }
    QString Line(qsizetype i) const;
    /// The first `lines` lines are now held by document, which outlives them here: they are read from
    /// it, and the view's own copies go.
    void Release(const QTextDocument *document, qsizetype lines);
    /// Where the text box's own margin puts the first line.
    static constexpr int Margin = 4;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateRanges();
    /// Widens the horizontal range to a line, measured only when it is longer than any measured.
    void Measure(const QString &line);

    QStringList m_lines;
    const QTextDocument *m_document = nullptr;
    qsizetype m_released = 0;
    qsizetype m_longestMeasured = -1;
    int m_widest = 0;
};

/// A plain-text box whose text may come from a long job. While the job appends, the lines go to a
/// TLineView; once it is done, the editable document is built from them a short piece at a time while
/// the window goes on with its events, and the editor takes the view's place when it is ready, or at
/// once when the user starts to edit. Either way the text, its lines and the place in view are the same.
class TLineTextBox : public QStackedWidget
{
    Q_OBJECT
public:
    explicit TLineTextBox(QWidget *parent = nullptr);

    /// Empties the box for a job; the lines appended after are read only until Finish().
    void Start();
    void Append(const QStringList &lines);
    /// The job is done: its text becomes editable.
    void Finish();

    /// The text's lines, as the list files hold them.
    QStringList Lines() const;
    /// The editor, holding the text now (a build under way is completed first).
    QPlainTextEdit *Editor();
    /// The editor holds the text.
    bool Editing() const;
    TLineView *View() const { return m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildPiece();
    void BuildAll();
    void TakeOver();
    void PutOnTop(QWidget *shown);

    TLineView *m_view = nullptr;
    QPlainTextEdit *m_editor = nullptr;
    QTimer *m_build = nullptr;
    /// While the editor's document is built from the view's lines: its end; m_built lines are in it.
    QTextCursor m_end;
    qsizetype m_built = 0;
    qsizetype m_pieceLines = 2000;
    bool m_appending = false;
    Qt::FocusPolicy m_editorFocus = Qt::StrongFocus;
};
