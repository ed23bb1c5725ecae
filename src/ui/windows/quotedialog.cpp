#include "windows/quotedialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace quorvane {

QuoteDialog::QuoteDialog(const QString &forumName, QuoteParts parts,
                         const QStringList &recentAuthors, QWidget *parent)
    : QDialog(parent), m_author(new QComboBox(this))
{
    setObjectName(QStringLiteral("QuoteDialog"));
    setWindowTitle(QStringLiteral("Quote Selection"));
    auto *form = new QFormLayout(this);
    form->addRow(new QLabel(QStringLiteral("Quoting for %1.").arg(forumName), this));

    m_author->setObjectName(QStringLiteral("QuoteAuthor"));
    m_author->setEditable(true);
    m_author->setInsertPolicy(QComboBox::NoInsert);
    m_author->addItems(recentAuthors);
    // The last name quoted is the likeliest; selected, so typing replaces it.
    m_author->setCurrentIndex(recentAuthors.isEmpty() ? -1 : 0);
    m_author->lineEdit()->selectAll();
    form->addRow(QStringLiteral("&Author:"), m_author);

    if (parts.testFlag(QuotePart::Post)) {
        m_post = new QLineEdit(this);
        m_post->setObjectName(QStringLiteral("QuotePost"));
        m_post->setPlaceholderText(QStringLiteral("Number, or a link to the post"));
        form->addRow(QStringLiteral("&Post:"), m_post);
    }
    if (parts.testFlag(QuotePart::Date)) {
        m_dated = new QCheckBox(QStringLiteral("&Date:"), this);
        m_dated->setObjectName(QStringLiteral("QuoteDated"));
        m_date = new QDateTimeEdit(QDateTime::currentDateTime(), this);
        m_date->setObjectName(QStringLiteral("QuoteDate"));
        m_date->setCalendarPopup(true);
        m_date->setEnabled(false);
        connect(m_dated, &QCheckBox::toggled, m_date, &QWidget::setEnabled);
        form->addRow(m_dated, m_date);
    }
    if (parts.testFlag(QuotePart::User)) {
        m_user = new QLineEdit(this);
        m_user->setObjectName(QStringLiteral("QuoteUser"));
        m_user->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
        m_user->setPlaceholderText(QStringLiteral("The author's number on the board"));
        form->addRow(QStringLiteral("&User:"), m_user);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QuoteSource QuoteDialog::source() const
{
    QuoteSource out;
    out.author = m_author->currentText().trimmed();
    if (m_post)
        out.post = postNumberIn(m_post->text());
    if (m_dated && m_dated->isChecked())
        out.date = m_date->dateTime();
    if (m_user)
        out.user = m_user->text();
    return out;
}

} // namespace quorvane
