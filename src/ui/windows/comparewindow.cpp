#include "windows/comparewindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace quorvane {

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
        auto *view = new QPlainTextEdit(text, this);
        view->setObjectName(QLatin1String(name));
        view->setAccessibleName(title);
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        label->setBuddy(view);
        grid->addWidget(label, 0, column);
        grid->addWidget(view, 1, column);
    };
    pane(0, draftTitle, draftText, "CompareDraftText");
    pane(1, fileTitle, fileText, "CompareFileText");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    grid->addWidget(buttons, 2, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::rejected, this, &CompareWindow::reject);
}

} // namespace quorvane
