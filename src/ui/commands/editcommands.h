#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// Cut, Copy, Paste, Delete, Select All and the Tools menu's clipboard and character map.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    explicit EditCommands(MainForm &form);

    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void selectAll();
    void clearClipboard();
    void startCharacterMap();

private:
    void copySelection();

    MainForm &m_form;
};

} // namespace quorvane
