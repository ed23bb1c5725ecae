#pragma once

#include "forum/forumtable.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace quorvane {

// Insert Table...: rows, columns and whether the first row is a header. When
// the table is made of selected lines its size is theirs: shown, not asked.
class TableDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TableDialog(QWidget *parent = nullptr);

    void setShape(const TableShape &shape, bool fixedSize);
    TableShape shape() const;

private:
    QSpinBox *m_rows;
    QSpinBox *m_columns;
    QCheckBox *m_header;
};

} // namespace quorvane
