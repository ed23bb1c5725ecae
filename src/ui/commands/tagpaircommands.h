#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// The twelve tag-pair buttons and Decrease Indent.
class TagPairCommands : public QObject
{
    Q_OBJECT

public:
    explicit TagPairCommands(MainForm &form);

    // Removes every indent tag of the whole post, in one undoable write.
    void RemoveIndent();

private:
    MainForm &m_form;
};

} // namespace quorvane
