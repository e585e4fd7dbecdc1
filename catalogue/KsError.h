// KsError: the one error type that carries a failure's message to the general error handler.
#pragma once

#include <QString>
#include <exception>

class KsError : public std::exception
{
public:
    explicit KsError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    /// The failure's text as the user sees it, e.g. "Cannot open file /x/list.lst".
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

    static KsError cannotOpen(const QString &fileName) { return KsError(QStringLiteral("Cannot open file %1").arg(fileName)); }
    static KsError cannotCreate(const QString &fileName) { return KsError(QStringLiteral("Cannot create file %1").arg(fileName)); }
    static KsError notAnInteger(const QString &text) { return KsError(QStringLiteral("'%1' is not a valid integer value").arg(text)); }
    static KsError indexOutOfBounds(qint64 index) { return KsError(QStringLiteral("List index out of bounds (%1)").arg(index)); }
    /// A list whose album at a line (0-based) overlaps others, so that reading it would not end in time.
    static KsError damagedList(qint64 newAlbumLine)
    {
        return KsError(QStringLiteral("Список повреждён: альбом в строке %1 перекрывается с другими альбомами.").arg(newAlbumLine + 1));
    }

private:
    QString m_message;
    QByteArray m_utf8;
};
