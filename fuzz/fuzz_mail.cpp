// libFuzzer entry for the tell-a-friend mail address: any six parts give an
// address that starts with "mailto:" and the recipient, opens its query with
// "?" exactly when there is one, and carries the body without a raw space,
// ampersand or line break.
#include "platform/composemail.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Six parts separated by NUL bytes: recipient, subject, body, cc, bcc,
    // attachment.
    QList<QString> parts;
    QByteArray current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 5) {
            parts.append(QString::fromUtf8(current));
            current.clear();
        } else {
            current.append(char(data[i]));
        }
    }
    parts.append(QString::fromUtf8(current));
    while (parts.size() < 6)
        parts.append(QString());

    const QString address =
        quorvane::composeMailAddress(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    const QString head = QStringLiteral("mailto:") + parts[0];
    if (!address.startsWith(head))
        __builtin_trap();
    const bool hasQuery = !parts[1].isEmpty() || !parts[2].isEmpty() || !parts[3].isEmpty() ||
                          !parts[4].isEmpty() || !parts[5].isEmpty();
    if (hasQuery != (address.size() > head.size()))
        __builtin_trap();
    if (hasQuery && address.at(head.size()) != QLatin1Char('?'))
        __builtin_trap();
    if (!parts[2].isEmpty()) {
        QString body = parts[2];
        body.replace(QLatin1Char('&'), QStringLiteral("%26"));
        body.replace(QLatin1Char(' '), QStringLiteral("%20"));
        body.replace(QStringLiteral("\r\n"), QStringLiteral("%0D%0A"));
        body.replace(QLatin1Char('\r'), QStringLiteral("%0D"));
        body.replace(QLatin1Char('\n'), QStringLiteral("%0A"));
        if (!address.contains(QStringLiteral("Body=") + body + QStringLiteral("%0D%0A")))
            __builtin_trap();
    }
    return 0;
}
