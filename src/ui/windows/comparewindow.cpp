#include "windows/comparewindow.h"

#include "text/textdiff.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace quorvane {

namespace {

// As the views hold it: every line break one position.
QString asShown(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

qsizetype markSpans(QPlainTextEdit *view, const std::vector<DiffSpan> &spans,
                    const QTextCharFormat &format)
{
    QTextCursor cursor(view->document());
    cursor.beginEditBlock();
    for (const DiffSpan &span : spans) {
        cursor.setPosition(int(span.start));
        cursor.setPosition(int(span.start + span.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
    return spans.empty() ? -1 : spans.front().start;
}

} // namespace

QTextCharFormat CompareWindow::onlyInDraft()
{
    QTextCharFormat format;
    format.setBackground(QColor(0xc8, 0xf0, 0xc8));
    return format;
}

QTextCharFormat CompareWindow::onlyInFile()
{
    QTextCharFormat format;
    format.setBackground(QColor(0xf8, 0xd0, 0xd0));
    format.setFontStrikeOut(true);
    return format;
}

CompareWindow::CompareWindow(const QString &draftTitle, const QString &draftText,
                             const QString &fileTitle, const QString &fileText, const QIcon &icon)
    : AuxiliaryWindow(icon)
{
    setObjectName(QStringLiteral("CompareDraft"));
    setWindowTitle(QStringLiteral("Compare Draft"));
    resize(760, 460);
    auto *grid = new QGridLayout(this);
    const auto pane = [this, grid](int column, const QString &title, const QString &text,
                                   const char *name) {
        auto *label = new QLabel(title, this);
        auto *view = new QPlainTextEdit(this);
        view->setObjectName(QLatin1String(name));
        view->setAccessibleName(title);
        view->setReadOnly(true);
        // Wrapped: a sentence added past the right edge is still seen.
        view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        view->setPlainText(text);
        label->setBuddy(view);
        grid->addWidget(label, 0, column);
        grid->addWidget(view, 1, column);
        return view;
    };
    const QString draft = asShown(draftText);
    const QString file = asShown(fileText);
    m_draft = pane(0, draftTitle, draft, "CompareDraftText");
    m_file = pane(1, fileTitle, file, "CompareFileText");
    const TextDiff diff = diffTexts(file, draft);
    m_firstInDraft = markSpans(m_draft, diff.inserted, onlyInDraft());
    m_firstInFile = markSpans(m_file, diff.removed, onlyInFile());

    auto *summary = new QLabel(diff.same() ? QStringLiteral("The draft and the file are the same.")
                                           : QStringLiteral("Green: only in the draft. Red, "
                                                            "struck out: only in the file."),
                               this);
    summary->setObjectName(QStringLiteral("CompareSummary"));
    m_summary = summary;
    // Row 2 is kept for a list of changes (showChanges).
    grid->addWidget(summary, 3, 0, 1, 2);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *restore =
        buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::ActionRole);
    restore->setObjectName(QStringLiteral("CompareRestore"));
    m_action = restore;
    grid->addWidget(buttons, 4, 0, 1, 2);
    connect(restore, &QPushButton::clicked, this, &CompareWindow::restoreChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &CompareWindow::reject);
}

void CompareWindow::showChanges(const QString &title, const QStringList &changes,
                                const QString &summary, const QString &action,
                                const char *actionName)
{
    setObjectName(QStringLiteral("CompareAdapted"));
    setWindowTitle(title);
    auto *list = new QListWidget(this);
    list->setObjectName(QStringLiteral("CompareChanges"));
    list->setAccessibleName(QStringLiteral("Changes"));
    list->addItems(changes);
    list->setMaximumHeight(list->sizeHintForRow(0) * 6 + 2 * list->frameWidth() + 4);
    static_cast<QGridLayout *>(layout())->addWidget(list, 2, 0, 1, 2);
    m_summary->setText(summary);
    m_action->setText(action);
    m_action->setObjectName(QLatin1String(actionName));
}

void CompareWindow::showEvent(QShowEvent *event)
{
    AuxiliaryWindow::showEvent(event);
    // Once the views have their width, so that wrapped lines are counted.
    QTimer::singleShot(0, this, &CompareWindow::bringFirstChangesIntoView);
}

void CompareWindow::bringFirstChangesIntoView()
{
    const auto show = [](QPlainTextEdit *view, qsizetype at) {
        if (at < 0)
            return;
        QTextCursor cursor(view->document());
        cursor.setPosition(int(at));
        view->setTextCursor(cursor);
        view->centerCursor();
    };
    show(m_draft, m_firstInDraft);
    show(m_file, m_firstInFile);
}

} // namespace quorvane
