// fuzz_textcodec: any bytes read as lines and written back keep every unedited line's bytes.
#include "FuzzSupport.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TextCodec::TFileEncoding read;
    const QStringList lines = TextCodec::decodeLines(bytes, &read);
    const QList<QByteArray> original = byteLines(bytes);
    KS_FUZZ_CHECK(lines.size() == original.size());
    KS_FUZZ_CHECK(read.Mark == bytes.startsWith("\xEF\xBB\xBF"));

    // Saved unchanged: the same byte lines, the mark kept, every line ending in CR LF.
    const TextCodec::TFileEncoding written = TextCodec::encodingForSave(lines, read);
    KS_FUZZ_CHECK(written.Utf8 == read.Utf8 && written.Mark == read.Mark);
    const QByteArray saved = TextCodec::encodeLines(lines, written);
    KS_FUZZ_CHECK(byteLines(saved) == original);
    KS_FUZZ_CHECK(saved.startsWith("\xEF\xBB\xBF") == read.Mark);

    // One line edited to a text outside code page 1251: the others keep their bytes while the file
    // keeps its encoding, and always their text.
    if (lines.isEmpty())
        return 0;
    QStringList edited = lines;
    const qsizetype at = qsizetype(size % size_t(lines.size()));
    edited[at] = QStringLiteral("album: Motörhead ") + QString::number(size);
    const TextCodec::TFileEncoding after = TextCodec::encodingForSave(edited, read);
    const QByteArray savedEdit = TextCodec::encodeLines(edited, after);
    TextCodec::TFileEncoding reread;
    KS_FUZZ_CHECK(TextCodec::decodeLines(savedEdit, &reread) == edited);
    KS_FUZZ_CHECK(reread.Utf8);
    if (read.Utf8) {
        const QList<QByteArray> editedLines = byteLines(savedEdit);
        for (qsizetype i = 0; i < original.size(); ++i)
            KS_FUZZ_CHECK(i == at || editedLines[i] == original[i]);
    }
    return 0;
}
