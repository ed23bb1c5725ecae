#include "windows/userdialogs.h"

#include "settings/filefolders.h"
#include "windows/quotedialog.h"
#include "windows/tabledialog.h"

#include <QFileDialog>
#include <QInputDialog>

namespace quorvane {

QString QtUserDialogs::prompt(QWidget *parent, const QString &message, const QString &title,
                              const QString &defaultText)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PromptDialog"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(message);
    dialog.setTextValue(defaultText);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

QMessageBox::StandardButton QtUserDialogs::message(QWidget *parent, QMessageBox::Icon icon,
                                                   const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

namespace {
// The dialog shows each caption as it is and filters by a second pattern
// list after it, where "*.*" becomes "*": file dialogs take "*.*" literally
// and would hide every name without a dot. Qt's own dialog shows the part
// before the last parentheses (HideNameFilterDetails); desktop dialogs show
// the caption's name alone.
QStringList dialogNameFilters(const QString &filter)
{
    QStringList out;
    for (const QString &entry : filter.split(QStringLiteral(";;"))) {
        const qsizetype open = entry.lastIndexOf(u'(');
        if (open < 0 || !entry.endsWith(u')')) {
            out << entry;
            continue;
        }
        QStringList patterns = entry.sliced(open + 1).chopped(1).split(u' ', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        out << entry + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}
} // namespace

QString QtUserDialogs::openFileName(QWidget *parent, const QString &filter,
                                    const QString &startFilter)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList captions = filter.split(QStringLiteral(";;"));
    const QStringList filters = dialogNameFilters(filter);
    dialog.setNameFilters(filters);
    if (const qsizetype start = captions.indexOf(startFilter); start >= 0)
        dialog.selectNameFilter(filters.at(start));
    dialog.setDirectory(filefolders::startFolder());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    filefolders::rememberFolderOf(chosen);
    return chosen;
}

QString QtUserDialogs::saveFileName(QWidget *parent, const QString &filter)
{
    // A folder alone: the name field stays empty.
    const QString chosen =
        QFileDialog::getSaveFileName(parent, QString(), filefolders::startFolder(), filter);
    filefolders::rememberFolderOf(chosen);
    return chosen;
}

std::optional<TableShape> QtUserDialogs::tableShape(QWidget *parent, const TableShape &start,
                                                    bool fixedSize)
{
    TableDialog dialog(parent);
    dialog.setShape(start, fixedSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.shape();
}

std::optional<QuoteSource> QtUserDialogs::quoteSource(QWidget *parent, const QString &forumName,
                                                      QuoteParts parts,
                                                      const QStringList &recentAuthors)
{
    QuoteDialog dialog(forumName, parts, recentAuthors, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.source();
}

} // namespace quorvane
