#pragma once

#include <QObject>

class QComboBox;

namespace quorvane {

class MainForm;
struct Chooser;

// Links, e-mail and image prompts, the three choosers, the list builders and
// the date and time stamps.
class InsertCommands : public QObject
{
    Q_OBJECT

public:
    explicit InsertCommands(MainForm &form);

private:
    struct PromptedLink;
    struct ListKind;

    void insertLink(const PromptedLink &link);
    void ImageCommand_Click();
    void wireChooser(const Chooser &chooser, QComboBox *box);
    void buildList(const ListKind &list);

    MainForm &m_form;
    // Set while a list builder is asking for items.
    bool m_listBuilderActive = false;
};

} // namespace quorvane
