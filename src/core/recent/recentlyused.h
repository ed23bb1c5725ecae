#pragma once

#include <QDateTime>
#include <QString>

namespace quorvane {

// The desktop's shared list of recently used files, recently-used.xbel in
// the user's data folder, which file managers show as "Recent". Each entry
// is an XBEL bookmark with the file's address, its MIME type and the
// programs that used it. Other programs' entries are kept as they are.
//
// Writers take a lock file beside the list, read what is there now, merge
// and replace the list in one rename, so no reader sees half a file and no
// concurrent writer's entry is lost.
class RecentlyUsed
{
public:
    static constexpr char applicationName[] = "Quorvane";
    // The command a file manager runs to open the file here again.
    static constexpr char applicationExec[] = "'quorvane %u'";

    explicit RecentlyUsed(const QString &listPath = defaultPath());

    // ~/.local/share/recently-used.xbel (or $XDG_DATA_HOME's).
    static QString defaultPath();

    // Records that this program used `filePath` at `when`. False, with
    // errorString(), when the list could not be written; a list that is not
    // XBEL is left alone.
    bool add(const QString &filePath, const QString &mimeType,
             const QDateTime &when = QDateTime::currentDateTimeUtc());
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_error;
};

} // namespace quorvane
