#pragma once

#include <QByteArray>
#include <QString>

namespace quorvane::drafts {

// The format this program writes; files naming a higher one are refused.
inline constexpr int kSnapshotFormat = 1;

// What a snapshot says about itself, in front of the text.
struct SnapshotHeader
{
    int format = kSnapshotFormat;
    QString postId;         // one id per post: start-up, New, Open or a restore
    QString sourcePath;     // the file the post was opened from, "" when untitled
    qint64 sourceSize = -1; // that file's size and modification time when opened
    qint64 sourceModifiedMs = -1;
    qint64 writtenMs = 0; // wall-clock time of writing, for people only
    quint64 sequence = 0; // what orders snapshots, whatever the clock did
    qint64 length = 0;    // the text's length in characters (UTF-16 units)
    qint64 bytes = 0;     // the body's length in bytes (UTF-8)
    QByteArray checksum;  // SHA-256 of the body, hexadecimal
};

struct SnapshotRead
{
    bool ok = false;
    SnapshotHeader header;
    QString text;      // only when the whole snapshot was asked for
    QString firstLine; // only when just the header was asked for
    QString error;     // why the file is not a usable snapshot
};

// The whole file for a snapshot of `text`; fills in length, bytes and checksum.
QByteArray encodeSnapshot(SnapshotHeader header, const QString &text);

// Parses `bytes` (a whole file). Refuses a foreign or newer-format file, a
// truncated or over-long body, a checksum mismatch or a length that disagrees.
SnapshotRead decodeSnapshot(const QByteArray &bytes);

// Reads a snapshot file: the whole of it with `withText`, otherwise only the
// header, checking that the file is as long as the header says.
SnapshotRead readSnapshot(const QString &path, bool withText);

} // namespace quorvane::drafts
