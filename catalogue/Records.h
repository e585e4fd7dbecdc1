// Records: TAlbum and TTrack, the looked-up values of one album and one track.
#pragma once

#include <QString>

struct TAlbum
{
    QString Title;           ///< the title asked for, unchanged
    QString Author;          ///< "author:" value
    QString DescriptionFile; ///< "discriptionfile:" value, resolved
    QString Url;             ///< "url:" value
    QString Image;           ///< "image:" value, resolved
    qint32 LineIndex = 0;    ///< index of the "album: " line; -1 when not found
    qint32 TrackCount = 0;   ///< "nt:" value

    bool operator==(const TAlbum &o) const
    {
        return Title == o.Title && Author == o.Author && DescriptionFile == o.DescriptionFile && Url == o.Url
            && Image == o.Image && LineIndex == o.LineIndex && TrackCount == o.TrackCount;
    }
};

struct TTrack
{
    QString AlbumTitle;      ///< the album title asked for, unchanged
    QString Title;           ///< the track title asked for, unchanged
    QString FileName;        ///< "file:" value, resolved
    QString DescriptionFile; ///< "dfile:" value, resolved
    QString Size;            ///< "size:" value (play-time text)
    qint32 LineIndex = 0;    ///< index of the "track: " line; -1 when not found

    bool operator==(const TTrack &o) const
    {
        return AlbumTitle == o.AlbumTitle && Title == o.Title && FileName == o.FileName
            && DescriptionFile == o.DescriptionFile && Size == o.Size && LineIndex == o.LineIndex;
    }
};
