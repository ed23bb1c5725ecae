#pragma once

#include "documents/documentfile.h"

#include <QFutureWatcher>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace quorvane {

class MainForm;

// New, Open, Save and Exit, with the save prompt. The post is modified when
// the editor's text differs, code unit by code unit, from the baseline: the
// text as it stood when the post was last clean.
//
// A file of kReadInPlace bytes or more is read and decoded on a worker
// thread while the window repaints, shows that it is busy and takes no
// input; the post stays as it was until the text arrives. Closing the window
// meanwhile gives up the open and asks about the post as always.
class DocumentCommands : public QObject
{
    Q_OBJECT

public:
    // Smaller files are read at once: they take less than a blink.
    static constexpr qint64 kReadInPlace = 4 * 1024 * 1024;

    explicit DocumentCommands(MainForm &form);
    ~DocumentCommands() override;

    bool isModified() const;
    // Test-only: the text the post is compared with.
    const QString &baseline() const { return m_baseline; }

    // The routines keep their established names (Start_New_File, ...).
    void Start_New_File();
    void Open_File();
    void Save_File();
    // Offers to save a modified post, then closes the main window.
    void Save_Before_Exit();

    // Puts `text` in the editor as a modified post, by the route Open takes:
    // a modified post is asked about first. True when it was put there.
    bool restore(const QString &text, const QString &source);
    // The same without the question, for a caller that has kept the post it
    // replaces. False only while another routine or a read is under way.
    bool restoreOver(const QString &text, const QString &source);

    // Import: Open with another reader of files, the same question first and
    // the same refusal when the file cannot be read. What it reads is a new,
    // unsaved post (modified, of no file), not the file itself.
    using FileReader = std::function<ReadResult(const QString &path)>;
    void importThrough(const QString &filter, const QString &startFilter, const FileReader &read);

    // Opens a file already named (the command line, another copy of the
    // program, a drop): the same question first, the same reader and messages
    // as Open. Ignored while another routine or a read is under way.
    void openFile(const QString &path);

    // A large file is being read; the post is not replaced yet.
    bool isReading() const { return m_reading != nullptr; }
    // A routine waits in a dialog or a read is under way: openFile would be
    // ignored now.
    bool isBusy() const { return m_busy || isReading(); }

    static const QString &openFilter();
    // The filter Open starts on.
    static const QString &openStartFilter();
    static const QString &saveFilter();

signals:
    // A new post is in the editor (New, Open, Import, a restore); `source` is
    // the file it came from, "" for none.
    void postStarted(const QString &source);
    // A read begun on the worker has ended: its text is in the editor, or
    // the writer was told why not, or the read was given up.
    void readEnded();
    // The post was written to `path`.
    void saved(const QString &path);
    // A file was opened as a post (by Open or by name, not imported).
    void opened(const QString &path);
    // "No" was answered: the post's changes are being thrown away.
    void changesDropped();

private:
    // What a read becomes: the file's own post (clean, saved there), or a new
    // post made from the file (modified, as if typed).
    enum class Landing { AsTheFile, AsNewPost };

    // Save-and-clear, for New and Open.
    void Optional_Save();
    // New and Open: replace runs at once for a clean post, after "No" for a
    // modified one; "Yes" saves and clears instead, "Cancel" does nothing.
    // True when `replace` ran.
    bool replaceDocument(const std::function<void()> &replace);
    void openSequence(const QString &filter, const QString &startFilter, const FileReader &read,
                      Landing landing);
    // Reads `path` into the editor; the user is told when it cannot be read.
    void loadFile(const QString &path, const FileReader &read, Landing landing);
    void readOnWorker(const QString &path, const FileReader &read, Landing landing);
    // What was read goes into the editor, or the writer is told why not.
    void showRead(const QString &path, const ReadResult &read, Landing landing);
    void releaseWindow();
    // Ends a read on the worker: its result, if one comes, is thrown away.
    void giveUpRead();
    void clearDocument();
    void putRestored(const QString &text, const QString &source);

    // Ask for a name and write the post there; false when the dialog was
    // cancelled or the write failed (the user has been told why).
    bool saveToChosenFile();
    QMessageBox::StandardButton askToSave();
    // Whether the main window may close now; a modified post gets the prompt.
    bool mayClose();

    MainForm &m_form;
    QString m_baseline;
    // A routine waiting in one of its dialogs; a close arriving meanwhile is
    // refused rather than asked about twice.
    bool m_busy = false;
    // Save_Before_Exit has already decided; the close guard lets it through.
    bool m_closeApproved = false;
    // The read under way on the worker, if any.
    std::unique_ptr<QFutureWatcher<ReadResult>> m_reading;
};

} // namespace quorvane
