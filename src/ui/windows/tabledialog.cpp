#include "windows/tabledialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace quorvane {

namespace {
// Larger tables come from a spreadsheet's selected lines, not from here.
constexpr int kMaxRows = 200;
constexpr int kMaxColumns = 30;
} // namespace

TableDialog::TableDialog(QWidget *parent)
    : QDialog(parent), m_rows(new QSpinBox(this)), m_columns(new QSpinBox(this)),
      m_header(new QCheckBox(QStringLiteral("&First row is a header"), this))
{
    setObjectName(QStringLiteral("TableDialog"));
    setWindowTitle(QStringLiteral("Insert Table"));
    m_rows->setObjectName(QStringLiteral("TableRows"));
    m_rows->setRange(1, kMaxRows);
    m_columns->setObjectName(QStringLiteral("TableColumns"));
    m_columns->setRange(1, kMaxColumns);
    m_header->setObjectName(QStringLiteral("TableHeader"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Rows:"), m_rows);
    form->addRow(QStringLiteral("&Columns:"), m_columns);
    form->addRow(m_header);
    form->addRow(buttons);
}

void TableDialog::setShape(const TableShape &shape, bool fixedSize)
{
    // A fixed size may be beyond what is asked for; it is shown as it is.
    m_rows->setMaximum(std::max(kMaxRows, shape.rows));
    m_columns->setMaximum(std::max(kMaxColumns, shape.columns));
    m_rows->setValue(shape.rows);
    m_columns->setValue(shape.columns);
    m_rows->setEnabled(!fixedSize);
    m_columns->setEnabled(!fixedSize);
    m_header->setChecked(shape.header);
}

TableShape TableDialog::shape() const
{
    return {m_rows->value(), m_columns->value(), m_header->isChecked()};
}

} // namespace quorvane
