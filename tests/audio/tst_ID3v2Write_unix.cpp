// tst_ID3v2Write_unix: the tag editor's write into a file's ID3v2 tag: the fields in the tag's own
// version, every other frame and every audio byte kept, the ID3v1 tag beside it; a write that fails or
// would lose a frame leaves the file as it was.
#include "FileOverride_unix.h"
#include "FileSizeLimit_unix.h"
#include "ID3Tags.h"
#include "ID3v2Tags.h"
#include "KsError.h"
#include "TagEditing.h"
#include "TestSupport.h"
#include "catalogue/CatalogueTestUtil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <attachedpictureframe.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <tbytevectorstream.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

using CatalogueTestUtil::readBytes;
using CatalogueTestUtil::writeBytes;

const QString Data = QStringLiteral(KS_TEST_DATA_DIR "/audio/");

// The frames of a tag but the editor's, as TagLib reads them: "ID" or "APIC:<picture bytes>".
QStringList otherFrames(const QByteArray &tag)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector(tag.constData(), static_cast<unsigned int>(tag.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    QStringList ids;
    for (const TagLib::ID3v2::Frame *frame : file.ID3v2Tag()->frameList()) {
        QString id = QString::fromLatin1(frame->frameID().data(), frame->frameID().size());
        if (const auto *picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame))
            id += u':' + QString::fromLatin1(QByteArray(picture->picture().data(), picture->picture().size()).toHex());
        if (!QStringList { u"COMM"_s, u"TALB"_s, u"TDRC"_s, u"TIT2"_s, u"TPE1"_s, u"TRCK"_s }.contains(id))
            ids << id;
    }
    ids.sort();
    return ids;
}

// An ID3v2.2 tag whose frames all have a later form but the last: a frame of no known kind.
QByteArray id3v22Tag(bool unknownFrame)
{
    const auto frame = [](const char *id, const QByteArray &data) {
        return QByteArray(id) + char(data.size() >> 16) + char(data.size() >> 8) + char(data.size()) + data;
    };
    QByteArray body = frame("TT2", QByteArray("\0Old", 4)) + frame("PIC", QByteArray("\0JPG\3\0\xFF\xD8picture", 15))
        + frame("ULT", QByteArray("\0eng\0lyrics", 11));
    if (unknownFrame)
        body += frame("XYZ", QByteArray("\0private", 8));
    body += QByteArray(16, '\0');
    return QByteArray("ID3\2\0\0\0\0", 8) + char(body.size() >> 7) + char(body.size() & 0x7F) + body;
}

} // namespace

class TestID3v2Write : public QObject
{
    Q_OBJECT
private slots:
    void writeKeepsEverythingElse_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("ID3v2.3 and ID3v1, UTF-16 text, a picture") << readBytes(Data + u"id3v2_picture_vbr.mp3"_s);
        QTest::newRow("ID3v2.4 without ID3v1, UTF-8 text, a picture, replay gain")
            << readBytes(Data + u"id3v2_4_picture_vbr.mp3"_s);
        QTest::newRow("ID3v2.2 with a picture and lyrics") << id3v22Tag(false) + readBytes(Data + u"cbr8_8k.mp3"_s);
    }
    void writeKeepsEverythingElse()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"01 - song.mp3"_s);
        writeBytes(path, file);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFile::Permissions mode = QFile::permissions(path);
        const ID3v2Tags::THeader before = ID3v2Tags::ParseHeader(file);
        QVERIFY(before.Editable());
        const bool hadV1 = file.mid(file.size() - 128, 3) == "TAG";

        const TagEditing::TTagFields typed { u"Ace of Spades 日本"_s, u"Motörhead"_s, u"1980"_s,
            u"Зимняя ночь, и длиннее тридцати символов"_s, u"5/12"_s, u"Ёлка"_s };
        const QString told = TagEditing::ApplyTagToFile(path, typed);
        QVERIFY2(told.contains(u"нет символов «日本ö» (U+65E5 U+672C U+00F6)"_s), qPrintable(told));
        QVERIFY2(told.contains(u"«Название» — «Ace of Spades ??»; «Автор» — «Motorhead»."_s), qPrintable(told));

        const QByteArray after = readBytes(path);
        const ID3v2Tags::THeader header = ID3v2Tags::ParseHeader(after);
        QCOMPARE(header.Version, qMax(before.Version, 3));
        const QByteArray tag = after.left(header.Size);
        const TagEditing::TTagFields v2 = ID3v2Tags::ReadFields(tag);
        QCOMPARE((QStringList { v2.Title, v2.Artist, v2.Year, v2.Album, v2.Track, v2.Comment }),
            (QStringList { typed.Title, typed.Artist, typed.Year, typed.Album, typed.Track, typed.Comment }));
        // The other frames, pictures byte for byte, as before; every byte after the tag as before.
        QCOMPARE(otherFrames(tag), otherFrames(file.left(before.Size)));
        QCOMPARE(otherFrames(tag).filter(u"APIC:ffd8"_s).size(), 1);
        QCOMPARE(after.sliced(header.Size, after.size() - header.Size - 128),
            file.sliced(before.Size, file.size() - before.Size - (hadV1 ? 128 : 0)));
        // ID3v1 as near as it holds the text; the file's mode kept.
        TID3v1Tag v1;
        v1.ReadFromBuffer(after.constData() + after.size() - 128, 128);
        QCOMPARE((QStringList { v1.Title, v1.Artist, v1.Album, v1.Comment }),
            (QStringList { u"Ace of Spades ??"_s, u"Motorhead"_s, u"Зимняя ночь, и длиннее тридцат"_s, u"Ёлка"_s }));
        QCOMPARE(v1.Track, 5);
        QCOMPARE(QFile::permissions(path), mode);
        // Written again as it now reads, nothing changes.
        QVERIFY(TagEditing::ApplyTagToFile(path, TagEditing::LoadFields(path)).contains(u"Motorhead"_s));
        QCOMPARE(readBytes(path), after);
    }

    // A write that fails, or that would lose a frame, leaves the file byte for byte and no stray file.
    void failuresLeaveTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("how"); // 0: past the file size limit, 1: write-protected, 2: refused
        QTest::addColumn<QString>("said");
        const QByteArray v23 = readBytes(Data + u"id3v2_picture_vbr.mp3"_s);
        QTest::newRow("past the size limit") << v23 << 0 << u"Cannot create file "_s;
        QTest::newRow("write-protected") << v23 << 1 << u"Cannot create file "_s;
        QTest::newRow("a frame ID3v2.3 has no place for")
            << id3v22Tag(true) + readBytes(Data + u"cbr8_8k.mp3"_s) << 2
            << u"Тег ID3v2 не записан: из него пропали бы кадры XYZ. Ничего не записано."_s;
    }
    void failuresLeaveTheFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, how);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"song.mp3"_s);
        writeBytes(path, file);
        const TagEditing::TTagFields typed { u"Новое"_s, u"Motörhead"_s, {}, {}, u"1"_s, {} };
        if (how == 1)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        std::optional<TestSupport::FileSizeLimit> limit;
        std::optional<TestSupport::WithoutFileOverride> user;
        if (how == 0)
            QVERIFY(limit.emplace(4096).ok());
        if (how == 1 && user.emplace().Writable(path))
            QSKIP("this kernel lets root write a read-only file without dac_override");
        QString refused;
        const QString error = TestSupport::errorOf([&] { refused = TagEditing::ApplyTagToFile(path, typed); });
        QCOMPARE(how == 2 ? refused : error, how == 2 ? said : said + path);
        QCOMPARE(readBytes(path), file);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { u"song.mp3"_s });
    }
};

QTEST_APPLESS_MAIN(TestID3v2Write)
#include "tst_ID3v2Write_unix.moc"
