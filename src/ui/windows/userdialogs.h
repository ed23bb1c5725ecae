#pragma once

#include "forum/forumquote.h"
#include "forum/forumtable.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quorvane {

// Everything that only a person answers. The program talks to these, never to
// the Qt dialogs directly, so tests can answer them.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // Modal text prompt. Returns the typed text, or "" when cancelled.
    virtual QString prompt(QWidget *parent, const QString &message, const QString &title,
                           const QString &defaultText) = 0;

    // Modal message box; returns the button pressed.
    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                                const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;

    // File dialogs, always starting with an empty name in the folder a file
    // was last chosen in (see filefolders.h). "" when cancelled.
    // `filter` lists "Caption (patterns)" entries separated by ";;"; Open
    // starts on `startFilter`, one of them. As where the convention comes
    // from, "*.*" matches every name, with or without a dot.
    virtual QString openFileName(QWidget *parent, const QString &filter,
                                 const QString &startFilter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &filter) = 0;

    // Insert Table...: the size and whether the first row is a header,
    // starting from `start`; with fixedSize the size is shown, not asked.
    // None when cancelled.
    virtual std::optional<TableShape> tableShape(QWidget *parent, const TableShape &start,
                                                 bool fixedSize) = 0;
    // Quote Selection...: the author (recentAuthors offered, newest first)
    // and the parts of the forum's quote form. None when cancelled.
    virtual std::optional<QuoteSource> quoteSource(QWidget *parent, const QString &forumName,
                                                   QuoteParts parts,
                                                   const QStringList &recentAuthors) = 0;
};

class QtUserDialogs : public UserDialogs
{
public:
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
};

} // namespace quorvane
