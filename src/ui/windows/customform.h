#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace quorvane {

// "Editor Format": offers font names and sizes and gives the choice back.
// It neither reads nor writes the settings store. OK hides the window and
// reports the choice; Cancel (Esc, the title bar's close) reports nothing.
class CustomForm : public QDialog
{
    Q_OBJECT

public:
    // The lists offered, and the entries selected at first ("" or a text that
    // is not offered selects none).
    CustomForm(const QStringList &fontNames, const QStringList &fontSizes,
               const QString &selectedFont, const QString &selectedSize, QWidget *parent = nullptr);

    // Selects the entry with exactly this text, or none.
    void selectFont(const QString &name);
    void selectSize(const QString &size);
    // The selected entries, "" when none.
    QString selectedFont() const;
    QString selectedSize() const;

signals:
    // OK: empty texts mean "no selection, keep".
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
