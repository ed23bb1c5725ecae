#pragma once

#include "import/importoptions.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <memory>

class QMimeData;

namespace quorvane {

class DocumentCommands;
class MainForm;

// What the clipboard offers to Paste as BBCode, copied so that a worker
// thread can read it: HTML first, then rich text, else plain text.
struct ClipboardContent
{
    QString html;
    QByteArray rtf;
    QString text;

    static ClipboardContent of(const QMimeData &mime);
    qsizetype size() const { return html.size() + rtf.size() + text.size(); }
    QString toBBCode(const ImportOptions &options) const;
};

// Paste as BBCode, Import as BBCode and the remembered choice to keep colours
// and sizes: formatted text from the clipboard or a file becomes tags.
//
// A clipboard of kPasteInPlace characters or more is imported on a worker
// thread while the window shows it is busy and takes no input, as Open does
// for a large file; Esc gives the paste up and leaves the post as it was.
class ImportCommands : public QObject
{
    Q_OBJECT

public:
    // Smaller clipboards import in less than a blink.
    static constexpr qsizetype kPasteInPlace = 512 * 1024;

    // A paste under way when the window goes is dropped with it.
    ImportCommands(MainForm &form, DocumentCommands &documents);

    void pasteAsBBCode();
    void importAsBBCode();
    bool isPasting() const { return m_pasting != nullptr; }
    void cancelPaste();

    // The BBCode of what the clipboard holds: HTML first, then rich text,
    // else its plain text.
    static QString clipboardBBCode(const QMimeData &mime, const ImportOptions &options);
    static ImportOptions storedOptions();

signals:
    // A paste on the worker has ended: its text is in the post, or it was
    // given up.
    void pasteEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pasteOnWorker(ClipboardContent content);
    void releaseWindow();

    MainForm &m_form;
    DocumentCommands &m_documents;
    std::unique_ptr<QFutureWatcher<QString>> m_pasting;
};

} // namespace quorvane
