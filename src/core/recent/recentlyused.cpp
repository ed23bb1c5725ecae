#include "recent/recentlyused.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace quorvane {

namespace {
const QString kBookmarkNs =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// The entry this program writes or refreshes.
struct Use
{
    QUrl url;
    QString mimeType;
    QString when;
};

void writeApplication(QXmlStreamWriter &out, const Use &use, int count)
{
    out.writeEmptyElement(QStringLiteral("bookmark:application"));
    out.writeAttribute(QStringLiteral("name"), QLatin1String(RecentlyUsed::applicationName));
    out.writeAttribute(QStringLiteral("exec"), QLatin1String(RecentlyUsed::applicationExec));
    out.writeAttribute(QStringLiteral("modified"), use.when);
    out.writeAttribute(QStringLiteral("count"), QString::number(count));
}

void writeInfo(QXmlStreamWriter &out, const Use &use)
{
    out.writeStartElement(QStringLiteral("info"));
    out.writeStartElement(QStringLiteral("metadata"));
    out.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    out.writeEmptyElement(QStringLiteral("mime:mime-type"));
    out.writeAttribute(QStringLiteral("type"), use.mimeType);
    out.writeStartElement(QStringLiteral("bookmark:applications"));
    writeApplication(out, use, 1);
    out.writeEndElement();
    out.writeEndElement();
    out.writeEndElement();
}

void writeBookmark(QXmlStreamWriter &out, const Use &use)
{
    out.writeStartElement(QStringLiteral("bookmark"));
    out.writeAttribute(QStringLiteral("href"), QString::fromUtf8(use.url.toEncoded()));
    for (const char *stamp : {"added", "modified", "visited"})
        out.writeAttribute(QLatin1String(stamp), use.when);
    writeInfo(out, use);
    out.writeEndElement();
}

QByteArray freshList(const Use &use)
{
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("xbel"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    out.writeAttribute(QStringLiteral("xmlns:bookmark"), kBookmarkNs);
    out.writeAttribute(QStringLiteral("xmlns:mime"), kMimeNs);
    writeBookmark(out, use);
    out.writeEndDocument();
    return bytes;
}

// Copies the list token by token, refreshing this program's entry for the
// file or adding one at the end. Namespace prefixes are copied as written:
// the list's readers know them by these names. Empty when `old` is no XBEL.
QByteArray mergedList(const QByteArray &old, const Use &use, QString &error)
{
    QXmlStreamReader in(old);
    in.setNamespaceProcessing(false);
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    out.setAutoFormatting(true);
    int depth = 0;
    bool found = false;
    bool inOurs = false;
    bool wroteApplication = false;
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartDocument:
            out.writeStartDocument();
            break;
        case QXmlStreamReader::DTD:
            out.writeDTD(in.text().toString());
            break;
        case QXmlStreamReader::StartElement: {
            ++depth;
            const QString name = in.qualifiedName().toString();
            if (depth == 1 && name != QLatin1String("xbel")) {
                error = QStringLiteral("it is not a list of bookmarks");
                return {};
            }
            QXmlStreamAttributes attributes = in.attributes();
            if (depth == 2 && name == QLatin1String("bookmark") && !found &&
                QUrl(attributes.value(QLatin1String("href")).toString()) == use.url) {
                found = inOurs = true;
                QXmlStreamAttributes refreshed;
                for (const QXmlStreamAttribute &attribute : attributes) {
                    const auto key = attribute.qualifiedName();
                    if (key != QLatin1String("modified") && key != QLatin1String("visited"))
                        refreshed.append(attribute);
                }
                refreshed.append(QStringLiteral("modified"), use.when);
                refreshed.append(QStringLiteral("visited"), use.when);
                attributes = refreshed;
            } else if (inOurs && name == QLatin1String("bookmark:application") &&
                       attributes.value(QLatin1String("name")) ==
                           QLatin1String(RecentlyUsed::applicationName)) {
                // Written again, counted once more, where the others end.
                const int count = attributes.value(QLatin1String("count")).toInt();
                in.skipCurrentElement();
                --depth;
                writeApplication(out, use, std::max(count, 0) + 1);
                wroteApplication = true;
                break;
            }
            out.writeStartElement(name);
            // Namespace declarations are plain attributes here.
            for (const QXmlStreamNamespaceDeclaration &ns : in.namespaceDeclarations()) {
                const QString prefix = ns.prefix().toString();
                out.writeAttribute(prefix.isEmpty() ? QStringLiteral("xmlns")
                                                    : QStringLiteral("xmlns:") + prefix,
                                   ns.namespaceUri().toString());
            }
            out.writeAttributes(attributes);
            break;
        }
        case QXmlStreamReader::EndElement: {
            const auto name = in.qualifiedName();
            if (inOurs && !wroteApplication && name == QLatin1String("bookmark:applications")) {
                writeApplication(out, use, 1);
                wroteApplication = true;
            }
            if (inOurs && depth == 2) {
                if (!wroteApplication)
                    writeInfo(out, use);
                inOurs = false;
            }
            if (depth == 1 && !found)
                writeBookmark(out, use);
            out.writeEndElement();
            --depth;
            break;
        }
        case QXmlStreamReader::Characters:
            if (in.isCDATA())
                out.writeCDATA(in.text().toString());
            else if (!in.isWhitespace())
                out.writeCharacters(in.text().toString());
            break;
        case QXmlStreamReader::Comment:
            out.writeComment(in.text().toString());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            out.writeProcessingInstruction(in.processingInstructionTarget().toString(),
                                           in.processingInstructionData().toString());
            break;
        case QXmlStreamReader::EntityReference:
            out.writeEntityReference(in.name().toString());
            break;
        default:
            break;
        }
    }
    if (in.hasError()) {
        error = in.errorString();
        return {};
    }
    out.writeEndDocument();
    return bytes;
}
} // namespace

RecentlyUsed::RecentlyUsed(const QString &listPath) : m_path(listPath) {}

QString RecentlyUsed::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

bool RecentlyUsed::add(const QString &filePath, const QString &mimeType, const QDateTime &when)
{
    m_error.clear();
    const Use use{QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()), mimeType,
                  when.toUTC().toString(Qt::ISODateWithMs)};
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_error = QStringLiteral("The folder of %1 cannot be made.").arg(m_path);
        return false;
    }
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000)) {
        m_error = QStringLiteral("%1 is locked by another program.").arg(m_path);
        return false;
    }
    // What is there now, read under the lock: a program that wrote since we
    // last looked keeps its entry.
    QByteArray old;
    QFile current(m_path);
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly)) {
            m_error = current.errorString();
            return false;
        }
        old = current.readAll();
        current.close();
    }
    QByteArray bytes;
    if (old.trimmed().isEmpty()) {
        bytes = freshList(use);
    } else {
        QString why;
        bytes = mergedList(old, use, why);
        if (bytes.isEmpty()) {
            m_error = QStringLiteral("%1 was left alone: %2").arg(m_path, why);
            return false;
        }
    }
    QSaveFile file(m_path);
    const bool isNew = !current.exists();
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    // The list tells where one has been: for the user's eyes only.
    if (isNew)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

} // namespace quorvane
