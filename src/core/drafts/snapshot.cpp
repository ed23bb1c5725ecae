#include "drafts/snapshot.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

namespace quorvane::drafts {

namespace {

constexpr char kMagic[] = "Quorvane draft ";
// A header is a few hundred bytes; anything longer is not one of ours.
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

QByteArray checksumOf(QByteArrayView body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

SnapshotRead refused(const QString &why)
{
    SnapshotRead result;
    result.error = why;
    return result;
}

// Parses the header lines (everything before the blank line).
SnapshotRead parseHeader(QByteArrayView head)
{
    const qsizetype firstEnd = head.indexOf('\n');
    const QByteArrayView first = head.first(firstEnd < 0 ? head.size() : firstEnd);
    if (!first.startsWith(kMagic))
        return refused(QStringLiteral("not a draft file"));
    bool ok = false;
    const int format = first.sliced(sizeof kMagic - 1).toInt(&ok);
    if (!ok || format < 1)
        return refused(QStringLiteral("not a draft file"));
    if (format > kSnapshotFormat)
        return refused(QStringLiteral("written by a newer version (format %1)").arg(format));

    SnapshotRead result;
    SnapshotHeader &h = result.header;
    h.format = format;
    bool haveSequence = false, haveLength = false, haveBytes = false;
    qsizetype at = firstEnd < 0 ? head.size() : firstEnd + 1;
    while (at < head.size()) {
        qsizetype end = head.indexOf('\n', at);
        if (end < 0)
            end = head.size();
        const QByteArrayView line = head.sliced(at, end - at);
        at = end + 1;
        const qsizetype colon = line.indexOf(": ");
        if (colon <= 0)
            return refused(QStringLiteral("damaged header"));
        const QByteArrayView key = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 2);
        bool number = true;
        if (key == "post")
            h.postId = QString::fromLatin1(value);
        else if (key == "source")
            h.sourcePath = QUrl::fromPercentEncoding(value.toByteArray());
        else if (key == "source-size")
            h.sourceSize = value.toLongLong(&number);
        else if (key == "source-modified")
            h.sourceModifiedMs = value.toLongLong(&number);
        else if (key == "written")
            h.writtenMs = value.toLongLong(&number);
        else if (key == "sequence")
            h.sequence = value.toULongLong(&number), haveSequence = number;
        else if (key == "length")
            h.length = value.toLongLong(&number), haveLength = number;
        else if (key == "bytes")
            h.bytes = value.toLongLong(&number), haveBytes = number;
        else if (key == "sha256")
            h.checksum = value.toByteArray();
        // Other keys are additions of a later release of the same format.
        if (!number)
            return refused(QStringLiteral("damaged header"));
    }
    if (h.postId.isEmpty() || !haveSequence || !haveLength || !haveBytes || h.bytes < 0 ||
        h.checksum.size() != 64)
        return refused(QStringLiteral("damaged header"));
    result.ok = true;
    return result;
}

// Where the header ends and the body begins, or -1.
qsizetype bodyStart(QByteArrayView bytes)
{
    const qsizetype blank = bytes.first(std::min(bytes.size(), kMaxHeaderBytes)).indexOf("\n\n");
    return blank < 0 ? -1 : blank + 2;
}

SnapshotRead checkBody(SnapshotRead result, QByteArrayView body)
{
    if (body.size() < result.header.bytes)
        return refused(QStringLiteral("cut short"));
    if (body.size() > result.header.bytes)
        return refused(QStringLiteral("longer than its header says"));
    if (checksumOf(body) != result.header.checksum)
        return refused(QStringLiteral("checksum does not match"));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    result.text = utf8.decode(body);
    if (utf8.hasError() || result.text.size() != result.header.length)
        return refused(QStringLiteral("text does not match its length"));
    return result;
}

} // namespace

QByteArray encodeSnapshot(SnapshotHeader header, const QString &text)
{
    const QByteArray body = text.toUtf8();
    header.format = kSnapshotFormat;
    header.length = text.size();
    header.bytes = body.size();
    header.checksum = checksumOf(body);

    QByteArray out;
    out.reserve(body.size() + 512);
    out += kMagic + QByteArray::number(header.format) + '\n';
    out += "post: " + header.postId.toLatin1() + '\n';
    if (!header.sourcePath.isEmpty()) {
        out += "source: " + QUrl::toPercentEncoding(header.sourcePath, "/") + '\n';
        out += "source-size: " + QByteArray::number(header.sourceSize) + '\n';
        out += "source-modified: " + QByteArray::number(header.sourceModifiedMs) + '\n';
    }
    out += "written: " + QByteArray::number(header.writtenMs) + '\n';
    out += "sequence: " + QByteArray::number(header.sequence) + '\n';
    out += "length: " + QByteArray::number(header.length) + '\n';
    out += "bytes: " + QByteArray::number(header.bytes) + '\n';
    out += "sha256: " + header.checksum + "\n\n";
    out += body;
    return out;
}

SnapshotRead decodeSnapshot(const QByteArray &bytes)
{
    const qsizetype start = bodyStart(bytes);
    if (start < 0)
        return refused(bytes.startsWith(kMagic) ? QStringLiteral("cut short")
                                                : QStringLiteral("not a draft file"));
    SnapshotRead result = parseHeader(QByteArrayView(bytes).first(start - 2));
    if (!result.ok)
        return result;
    return checkBody(std::move(result), QByteArrayView(bytes).sliced(start));
}

SnapshotRead readSnapshot(const QString &path, bool withText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.errorString());
    if (withText)
        return decodeSnapshot(file.readAll());

    const QByteArray head = file.read(kMaxHeaderBytes);
    const qsizetype start = bodyStart(head);
    if (start < 0)
        return refused(head.startsWith(kMagic) ? QStringLiteral("cut short")
                                               : QStringLiteral("not a draft file"));
    SnapshotRead result = parseHeader(QByteArrayView(head).first(start - 2));
    if (result.ok && file.size() != start + result.header.bytes)
        return refused(file.size() < start + result.header.bytes
                           ? QStringLiteral("cut short")
                           : QStringLiteral("longer than its header says"));
    // The beginning of the text, for lists; a character cut in two is dropped.
    const QString begin = QString::fromUtf8(QByteArrayView(head).sliced(start).first(
        std::min<qsizetype>(head.size() - start, std::min<qint64>(result.header.bytes, 400))));
    const qsizetype lineEnd = begin.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    result.firstLine = lineEnd < 0 ? begin : begin.first(lineEnd);
    return result;
}

} // namespace quorvane::drafts
