// FileAccess: a file opened for reading by its descriptor and read at given offsets, so that analysing
// a file costs an open, a stat, a read or two and a close; one implementation per platform.
#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>

namespace FileAccess {

/// Opens a file for reading, letting others read and write it; -1 when it cannot be opened.
int OpenRead(const QString &path);
/// Reads up to n bytes at offset; the count read, less than n only at the end of the file; -1 on failure.
std::int64_t ReadAt(int descriptor, std::int64_t offset, void *into, std::int64_t n);
void Close(int descriptor);

} // namespace FileAccess

/// A file open under a descriptor (not owned) as a random-access stream of a known size; each read is
/// one positioned read, and a seek costs nothing.
class TPositionedFile : public QIODevice
{
public:
    TPositionedFile(int descriptor, qint64 size) : m_descriptor(descriptor), m_size(size)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        return FileAccess::ReadAt(m_descriptor, pos(), data, qMin(maxSize, qMax<qint64>(0, m_size - pos())));
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    int m_descriptor;
    qint64 m_size;
};
