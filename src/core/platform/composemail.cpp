#include "platform/composemail.h"

#include "platform/launcher.h"

#include <QUrl>

namespace quorvane {

QString composeMailAddress(const QString &recipient, const QString &subject, const QString &body,
                           const QString &cc, const QString &bcc, const QString &attachment)
{
    QString query;
    if (!subject.isEmpty())
        query += QStringLiteral("&Subject=") + subject;
    if (!body.isEmpty()) {
        // "&" first, so the escapes added after it are not escaped again; the
        // pair before the lone breaks, so CR LF becomes one escape.
        QString escaped = body;
        escaped.replace(QLatin1Char('&'), QLatin1String("%26"));
        escaped.replace(QLatin1Char(' '), QLatin1String("%20"));
        escaped.replace(QLatin1String("\r\n"), QLatin1String("%0D%0A"));
        escaped.replace(QLatin1Char('\r'), QLatin1String("%0D"));
        escaped.replace(QLatin1Char('\n'), QLatin1String("%0A"));
        query += QStringLiteral("&Body=") + escaped + QStringLiteral("%0D%0A");
    }
    if (!cc.isEmpty())
        query += QStringLiteral("&CC=") + cc;
    if (!bcc.isEmpty())
        query += QStringLiteral("&BCC=") + bcc;
    // The parameter keeps its established spelling, "Attacth".
    if (!attachment.isEmpty())
        query += QStringLiteral("&Attacth=\"") + attachment + QLatin1Char('"');
    if (!query.isEmpty())
        query[0] = QLatin1Char('?');
    return QStringLiteral("mailto:") + recipient + query;
}

bool ComposeMail(Launcher &launcher, const QString &recipient, const QString &subject,
                 const QString &body, const QString &cc, const QString &bcc,
                 const QString &attachment)
{
    return launcher.openUrl(
        QUrl(composeMailAddress(recipient, subject, body, cc, bcc, attachment)));
}

} // namespace quorvane
