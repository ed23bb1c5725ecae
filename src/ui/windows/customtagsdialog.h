#pragma once

#include "forum/customtags.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorvane {

class UserDialogs;

// Custom Tags...: a board's custom tags for one forum, each its usage and
// its HTML replacement as the board's admin panel shows them. A definition
// is added or changed only when it is right; otherwise the reason stays in
// view. Import... takes a whole file in place of the list (a malformed file
// changes nothing and names its line); Export... writes the list as that
// file.
class CustomTagsDialog : public QDialog
{
    Q_OBJECT

public:
    CustomTagsDialog(Forum forum, std::vector<CustomTag> tags, UserDialogs &dialogs,
                     QWidget *parent = nullptr);

    const std::vector<CustomTag> &tags() const { return m_tags; }

private:
    void showList(int select);
    void selected();
    // The definition in the fields, or none with the reason shown.
    bool definition(CustomTag &tag);
    void add();
    void change();
    void remove();
    void importFile();
    void exportFile();
    void showError(const QString &text);
    void enableButtons();

    UserDialogs &m_dialogs;
    std::vector<CustomTag> m_tags;
    QListWidget *m_list;
    QLineEdit *m_usage;
    QLineEdit *m_replacement;
    QLabel *m_error;
    QPushButton *m_change;
    QPushButton *m_remove;
};

} // namespace quorvane
