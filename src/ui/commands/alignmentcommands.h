#pragma once

#include <QObject>

namespace quorvane {

class MainForm;

// Format > Editor Text Alignment: how the editor shows the post (Center, Left
// Justify, Right Justify). The post's text does not change.
class AlignmentCommands : public QObject
{
    Q_OBJECT

public:
    explicit AlignmentCommands(MainForm &form);

signals:
    // A click toggles its own mark; the marks must be worked out again.
    void aligned();
};

} // namespace quorvane
