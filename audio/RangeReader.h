// RangeReader: random access to a range of a stream through one held block, for the audio readers.
#pragma once

#include "KsError.h"

#include <QByteArray>
#include <QIODevice>

#include <cstring>

/// Reads a range of a stream, keeping the last block read so that nearby fields cost no I/O.
/// Offsets are relative to the range; a read the stream cannot give throws KsError.
class RangeReader
{
public:
    RangeReader(QIODevice &stream, qint64 start, qint64 size) : m_stream(stream), m_start(start), m_size(size) {}

    QIODevice &stream() const { return m_stream; }
    qint64 start() const { return m_start; }
    qint64 size() const { return m_size; }

    /// Makes [offset, offset + n) of the range available and returns it; n must lie within the range.
    /// When it has to read, it reads ahead bytes (as far as the range goes) if that is more than n.
    const quint8 *load(qint64 offset, qint64 n, qint64 ahead = 0)
    {
        if (!covers(offset, n)) {
            const qint64 count = qMax(n, qMin(ahead, m_size - offset));
            m_block.resize(count);
            readExactly(offset, m_block.data(), count);
            m_blockOffset = offset;
        }
        return reinterpret_cast<const quint8 *>(m_block.constData()) + (offset - m_blockOffset);
    }

    /// Bytes held from offset on without a read.
    qint64 held(qint64 offset) const { return covers(offset, 0) ? m_blockOffset + m_block.size() - offset : 0; }

    /// Copies n bytes at offset of the range.
    void get(qint64 offset, void *into, qint64 n)
    {
        if (covers(offset, n))
            std::memcpy(into, m_block.constData() + (offset - m_blockOffset), size_t(n));
        else
            readExactly(offset, static_cast<char *>(into), n);
    }

private:
    bool covers(qint64 offset, qint64 n) const
    {
        return offset >= m_blockOffset && offset + n <= m_blockOffset + m_block.size();
    }

    void readExactly(qint64 offset, char *into, qint64 n)
    {
        if (!m_stream.seek(m_start + offset) || m_stream.read(into, n) != n)
            throw KsError(QStringLiteral("Stream read error"));
    }

    QIODevice &m_stream;
    qint64 m_start;
    qint64 m_size;
    QByteArray m_block;
    qint64 m_blockOffset = 0;
};
