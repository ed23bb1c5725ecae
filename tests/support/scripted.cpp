#include "support/scripted.h"

#include "commands/installcommands.h"
#include "shell/mainform.h"

#include <QTest>
#include <gtest/gtest.h>

namespace quorvane::test {

QString ScriptedDialogs::prompt(QWidget *, const QString &message, const QString &title,
                                const QString &defaultText)
{
    prompts.append({message, title, defaultText});
    if (promptAnswers.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << title.toStdString();
        return QString();
    }
    QString answer = promptAnswers.front();
    promptAnswers.pop_front();
    return answer;
}

QMessageBox::StandardButton ScriptedDialogs::message(QWidget *, QMessageBox::Icon icon,
                                                     const QString &title, const QString &text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    messages.append({icon, title, text, buttons, defaultButton});
    if (messageAnswers.empty()) {
        // A plain information box needs no script: it only has OK.
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        ADD_FAILURE() << "unexpected message: " << text.toStdString();
        return QMessageBox::Cancel;
    }
    auto answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &filter, const QString &startFilter)
{
    openFilters.append(filter);
    openStartFilters.append(startFilter);
    if (openAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return QString();
    }
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &filter)
{
    saveFilters.append(filter);
    if (saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return QString();
    }
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

std::optional<TableShape> ScriptedDialogs::tableShape(QWidget *, const TableShape &start,
                                                      bool fixedSize)
{
    tableQuestions.append({start, fixedSize});
    if (tableAnswers.empty()) {
        ADD_FAILURE() << "unexpected table question";
        return std::nullopt;
    }
    auto answer = tableAnswers.front();
    tableAnswers.pop_front();
    return answer;
}

std::optional<QuoteSource> ScriptedDialogs::quoteSource(QWidget *, const QString &forumName,
                                                        QuoteParts parts,
                                                        const QStringList &recentAuthors)
{
    quoteQuestions.append({forumName, parts, recentAuthors});
    if (quoteAnswers.empty()) {
        ADD_FAILURE() << "unexpected quote question";
        return std::nullopt;
    }
    auto answer = quoteAnswers.front();
    quoteAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::allAnswered() const
{
    return promptAnswers.empty() && messageAnswers.empty() && openAnswers.empty() &&
           saveAnswers.empty() && tableAnswers.empty() && quoteAnswers.empty();
}

bool RecordingLauncher::openUrl(const QUrl &url)
{
    urls.append(url);
    return succeed;
}

bool RecordingLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    started.append(QStringList{program} + arguments);
    return succeed;
}

QString RecordingLauncher::findProgram(const QString &name)
{
    return installedPrograms.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
}

Window::Window() : form(std::make_unique<MainForm>(dialogs, launcher))
{
    installCommands(*form);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // The parts built after the first paint (the hidden panels) are there.
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->isPastFirstPaint(); }));
}

Window::~Window() = default;

} // namespace quorvane::test
