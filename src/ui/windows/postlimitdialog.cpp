#include "windows/postlimitdialog.h"

#include "settings/forumlimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace quorvane {

PostLimitDialog::PostLimitDialog(QWidget *parent)
    : QDialog(parent), m_profile(new QComboBox(this)), m_limit(new QSpinBox(this)),
      m_countTags(new QCheckBox(QStringLiteral("Count &tags"), this)),
      m_lineBreak(new QComboBox(this))
{
    setObjectName(QStringLiteral("PostLimitDialog"));
    setWindowTitle(QStringLiteral("Post Length Limit"));

    m_profile->setObjectName(QStringLiteral("Profile"));
    m_profile->addItem(QStringLiteral("No limit"), QString::fromLatin1(postlimit::noLimit));
    for (const ForumProfile &profile : forumProfiles()) {
        // A forum the Forum menu offers is named as the menu names it.
        const QString key = QString::fromLatin1(profile.key);
        const std::optional<Forum> forum = forumlimit::forumOfProfile(key);
        const QString title = forum ? forumDisplayName(*forum) : QString::fromLatin1(profile.name);
        const QString name =
            profile.limit > 0
                ? QStringLiteral("%1 (%2)").arg(title, QLocale().toString(profile.limit))
                : title;
        m_profile->addItem(name, key);
    }
    m_limit->setObjectName(QStringLiteral("Limit"));
    m_limit->setRange(1, int(std::min<qsizetype>(postlimit::maxLimit, INT_MAX)));
    m_limit->setGroupSeparatorShown(true);
    m_limit->setSuffix(QStringLiteral(" characters"));
    m_countTags->setObjectName(QStringLiteral("CountTags"));
    m_countTags->setToolTip(QStringLiteral("Off when the forum counts only the text, not the "
                                           "[tags] around it"));
    m_lineBreak->setObjectName(QStringLiteral("LineBreak"));
    m_lineBreak->addItem(QStringLiteral("1 character"), 1);
    m_lineBreak->addItem(QStringLiteral("2 characters (CR LF)"), 2);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Forum:"), m_profile);
    form->addRow(QStringLiteral("&Limit:"), m_limit);
    form->addRow(QString(), m_countTags);
    form->addRow(QStringLiteral("A line &break counts as:"), m_lineBreak);
    form->addRow(buttons);

    connect(m_profile, &QComboBox::activated, this, &PostLimitDialog::profileChosen);
    setChoice(postlimit::Choice{});
}

void PostLimitDialog::setChoice(const postlimit::Choice &choice)
{
    const int at = m_profile->findData(choice.hasLimit() ? choice.profile
                                                         : QString::fromLatin1(postlimit::noLimit));
    m_profile->setCurrentIndex(std::max(at, 0));
    const ForumProfile *profile = findForumProfile(choice.profile);
    const qsizetype limit = choice.hasLimit() ? choice.limit : profile ? profile->limit : 0;
    m_limit->setValue(int(limit > 0 ? limit : 10000));
    m_countTags->setChecked(choice.rule.countTags);
    m_lineBreak->setCurrentIndex(choice.rule.lineBreak == 2 ? 1 : 0);
    enableFields();
}

postlimit::Choice PostLimitDialog::choice() const
{
    postlimit::Choice choice;
    const QString key = m_profile->currentData().toString();
    if (!findForumProfile(key))
        return choice;
    choice.profile = key;
    choice.limit = m_limit->value();
    choice.rule.countTags = m_countTags->isChecked();
    choice.rule.lineBreak = m_lineBreak->currentData().toInt();
    return choice;
}

void PostLimitDialog::profileChosen()
{
    // A forum's own numbers; Custom keeps whatever is there.
    const ForumProfile *profile = findForumProfile(m_profile->currentData().toString());
    if (profile && profile->limit > 0) {
        m_limit->setValue(int(profile->limit));
        m_countTags->setChecked(profile->rule.countTags);
        m_lineBreak->setCurrentIndex(profile->rule.lineBreak == 2 ? 1 : 0);
    }
    enableFields();
}

void PostLimitDialog::enableFields()
{
    const bool limited = findForumProfile(m_profile->currentData().toString()) != nullptr;
    m_limit->setEnabled(limited);
    m_countTags->setEnabled(limited);
    m_lineBreak->setEnabled(limited);
}

} // namespace quorvane
