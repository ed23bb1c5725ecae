#pragma once

#include <QString>

namespace quorvane {

class Launcher;

// A "mailto:" address from its parts. Only the body is escaped, and only its
// spaces, ampersands and line breaks: mail programs take the rest as it is.
// The first query part starts with "?"; empty parts are left out.
QString composeMailAddress(const QString &recipient, const QString &subject, const QString &body,
                           const QString &cc, const QString &bcc, const QString &attachment);

// Composes the address and hands it to the desktop's mail handler.
bool ComposeMail(Launcher &launcher, const QString &recipient, const QString &subject,
                 const QString &body, const QString &cc, const QString &bcc,
                 const QString &attachment);

} // namespace quorvane
