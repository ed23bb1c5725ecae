#pragma once

#include "settings/postlimit.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace quorvane {

// Post Length Limit...: a forum profile (or no limit, or Custom), the limit in
// characters, and how the forum counts: with or without the tags, a line
// break as one character or two. Choosing a profile fills in its numbers;
// any of them can be changed after.
class PostLimitDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PostLimitDialog(QWidget *parent = nullptr);

    void setChoice(const postlimit::Choice &choice);
    postlimit::Choice choice() const;

private:
    void profileChosen();
    void enableFields();

    QComboBox *m_profile;
    QSpinBox *m_limit;
    QCheckBox *m_countTags;
    QComboBox *m_lineBreak;
};

} // namespace quorvane
