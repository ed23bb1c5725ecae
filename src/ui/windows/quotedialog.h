#pragma once

#include "forum/forumquote.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;

namespace quorvane {

// Quote Selection...: the author, typed or picked from the names quoted
// last, and the parts the forum's quote form carries beside it (the post's
// number or link, its date, the author's number), each one optional.
class QuoteDialog : public QDialog
{
    Q_OBJECT

public:
    QuoteDialog(const QString &forumName, QuoteParts parts, const QStringList &recentAuthors,
                QWidget *parent = nullptr);

    QuoteSource source() const;

private:
    QComboBox *m_author;
    QLineEdit *m_post = nullptr;
    QCheckBox *m_dated = nullptr;
    QDateTimeEdit *m_date = nullptr;
    QLineEdit *m_user = nullptr;
};

} // namespace quorvane
