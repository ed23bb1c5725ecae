#pragma once

#include "import/importoptions.h"

#include <QObject>

class QMimeData;

namespace quorvane {

class DocumentCommands;
class MainForm;

// Paste as BBCode, Import as BBCode and the remembered choice to keep colours
// and sizes: formatted text from the clipboard or a file becomes tags.
class ImportCommands : public QObject
{
    Q_OBJECT

public:
    ImportCommands(MainForm &form, DocumentCommands &documents);

    void pasteAsBBCode();
    void importAsBBCode();

    // The BBCode of what the clipboard holds: HTML first, then rich text,
    // else its plain text.
    static QString clipboardBBCode(const QMimeData &mime, const ImportOptions &options);
    static ImportOptions storedOptions();

private:
    MainForm &m_form;
    DocumentCommands &m_documents;
};

} // namespace quorvane
