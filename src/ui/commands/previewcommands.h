#pragma once

#include "conversion/previewpage.h"

#include <QObject>
#include <QString>

namespace quorvane {

class MainForm;

// Preview in Browser and Remove Text Formatting.
class PreviewCommands : public QObject
{
    Q_OBJECT

public:
    explicit PreviewCommands(MainForm &form);

    // Converts the post and writes the preview page (the chosen forum's page
    // when one is chosen); the post is untouched.
    PreviewPageResult PreviewHTML(const QString &text);
    // Writes the page and opens it in the browser, or says why it could not.
    void preview();
    // Deletes the BBCode tags of the whole post, as one undoable write.
    void RemoveTextFormatting();

    // The forum whose page Preview writes; Generic is the preview page.
    void setForum(Forum forum) { m_forum = forum; }

    // Test-only: where the page and the smiley pictures go instead of the
    // program's data folder.
    void setDataDir(const QString &dir) { m_dataDir = dir; }

signals:
    // Preview is about to write the page and hand it to the browser.
    void aboutToPreview();

private:
    MainForm &m_form;
    QString m_dataDir;
    Forum m_forum = Forum::Generic;
};

} // namespace quorvane
