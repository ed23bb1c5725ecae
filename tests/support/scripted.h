#pragma once

#include "platform/launcher.h"
#include "windows/userdialogs.h"

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <memory>

namespace quorvane {
class MainForm;
}

namespace quorvane::test {

// Answers the program's questions from queues and records what was asked. An
// unexpected question fails the test and is answered with "cancel".
class ScriptedDialogs : public UserDialogs
{
public:
    struct Prompt
    {
        QString message, title, defaultText;
    };
    struct Message
    {
        QMessageBox::Icon icon;
        QString title, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    std::deque<QString> promptAnswers;
    std::deque<QMessageBox::StandardButton> messageAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::optional<TableShape>> tableAnswers; // nullopt: Cancel
    std::deque<std::optional<QuoteSource>> quoteAnswers;

    QList<Prompt> prompts;
    QList<Message> messages;
    QStringList openFilters;
    QStringList openStartFilters;
    QStringList saveFilters;
    struct TableQuestion
    {
        TableShape start;
        bool fixedSize;
    };
    QList<TableQuestion> tableQuestions;
    struct QuoteQuestion
    {
        QString forumName;
        QuoteParts parts;
        QStringList recentAuthors;
    };
    QList<QuoteQuestion> quoteQuestions;

    QString prompt(QWidget *parent, const QString &message, const QString &title,
                   const QString &defaultText) override;
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget *parent, const QString &filter,
                         const QString &startFilter) override;
    QString saveFileName(QWidget *parent, const QString &filter) override;
    std::optional<TableShape> tableShape(QWidget *parent, const TableShape &start,
                                         bool fixedSize) override;
    std::optional<QuoteSource> quoteSource(QWidget *parent, const QString &forumName,
                                           QuoteParts parts,
                                           const QStringList &recentAuthors) override;

    // True when every queued answer was used.
    bool allAnswered() const;
};

// Records what the program hands to the desktop; opens nothing.
class RecordingLauncher : public Launcher
{
public:
    QList<QUrl> urls;
    QList<QStringList> started;    // program first, then its arguments
    QStringList installedPrograms; // what findProgram finds
    bool succeed = true;

    bool openUrl(const QUrl &url) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
    QString findProgram(const QString &name) override;
};

// A main window with scripted dialogs and launcher, shown offscreen.
struct Window
{
    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    std::unique_ptr<MainForm> form;

    Window();
    ~Window();
};

} // namespace quorvane::test
