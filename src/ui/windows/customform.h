#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace quorvane {

// "Editor Format": the editor's font name and size, stored per user. OK
// stores and hides; Cancel (Esc, the title bar's close) forgets the choice.
class CustomForm : public QDialog
{
    Q_OBJECT

public:
    explicit CustomForm(QWidget *parent = nullptr);

    // Selects the entry with exactly this text, or none.
    void selectFont(const QString &name);
    void selectSize(const QString &size);
    // The selected entries, "" when none.
    QString selectedFont() const;
    QString selectedSize() const;

signals:
    // OK: the choice was stored; empty texts mean "no selection, keep".
    void chosen(const QString &fontName, const QString &fontSize);
    // Cancel: the window is going away.
    void cancelled();

public slots:
    void accept() override;
    void reject() override;

private:
    QListWidget *m_fontList;
    QListWidget *m_sizeList;
};

} // namespace quorvane
