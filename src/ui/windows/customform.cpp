#include "windows/customform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace quorvane {

namespace {
void selectText(QListWidget *list, const QString &text)
{
    list->clearSelection();
    list->setCurrentItem(nullptr);
    const auto matches = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (text.isEmpty() || matches.isEmpty())
        return;
    list->setCurrentItem(matches.first());
    list->scrollToItem(matches.first());
}

QString selectedText(const QListWidget *list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QLabel *picture(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(QIcon(QStringLiteral(":/icons/EditorFormat.svg")).pixmap(22, 22));
    return label;
}
} // namespace

CustomForm::CustomForm(const QStringList &fontNames, const QStringList &fontSizes,
                       const QString &selectedFont, const QString &selectedSize, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CustomForm"));
    setWindowTitle(QStringLiteral("Editor Format"));
    setModal(false);

    auto *fontLabel = new QLabel(QStringLiteral("Font:"), this);
    fontLabel->setObjectName(QStringLiteral("Label1"));
    m_fontList = new QListWidget(this);
    m_fontList->setObjectName(QStringLiteral("FontList"));
    m_fontList->setAccessibleName(QStringLiteral("Font"));
    m_fontList->addItems(fontNames);
    m_fontList->setSelectionMode(QAbstractItemView::SingleSelection);
    fontLabel->setBuddy(m_fontList);

    auto *sizeLabel = new QLabel(QStringLiteral("Size:"), this);
    sizeLabel->setObjectName(QStringLiteral("Label2"));
    m_sizeList = new QListWidget(this);
    m_sizeList->setObjectName(QStringLiteral("SizeList"));
    m_sizeList->setAccessibleName(QStringLiteral("Size"));
    m_sizeList->addItems(fontSizes);
    m_sizeList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sizeList->setMaximumWidth(70);
    sizeLabel->setBuddy(m_sizeList);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Save"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &CustomForm::accept);
    connect(cancel, &QPushButton::clicked, this, &CustomForm::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(picture("Image1", this), 0, 0, Qt::AlignTop);
    grid->addWidget(fontLabel, 0, 1);
    grid->addWidget(m_fontList, 1, 1);
    grid->addWidget(picture("Image2", this), 0, 2, Qt::AlignTop);
    grid->addWidget(sizeLabel, 0, 3);
    grid->addWidget(m_sizeList, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(360, 300);

    selectFont(selectedFont);
    selectSize(selectedSize);
}

void CustomForm::selectFont(const QString &name)
{
    selectText(m_fontList, name);
}

void CustomForm::selectSize(const QString &size)
{
    selectText(m_sizeList, size);
}

QString CustomForm::selectedFont() const
{
    return selectedText(m_fontList);
}

QString CustomForm::selectedSize() const
{
    return selectedText(m_sizeList);
}

void CustomForm::accept()
{
    const QString font = selectedFont().trimmed();
    const QString size = selectedSize().trimmed();
    QDialog::accept();
    emit chosen(font, size);
}

void CustomForm::reject()
{
    QDialog::reject();
    emit cancelled();
}

} // namespace quorvane
