#pragma once

#include "forum/dialect.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace quorvane {

// The tags a forum writes a table with, as it names them: "table", "tr",
// "td" and, where it has one, a header cell "th". Empty table: no tables.
struct TableTags
{
    QString table, row, cell, headerCell;
};
TableTags tableTags(const Dialect &dialect);
bool hasTables(const Dialect &dialect);

// What a writer asks for: the size and whether the first row is a header.
struct TableShape
{
    int rows = 3;
    int columns = 2;
    bool header = false;
};

// Mark-up to write and where the caret goes in it (after the opening of the
// first cell). Lines end in CR LF, as the post's do.
struct TableMarkup
{
    QString text;
    qsizetype caret = 0;
};

using TableRows = std::vector<QStringList>;

// The cells of tab-separated lines (a spreadsheet's copy, or what Paste as
// BBCode makes of an HTML table), kept as they are; blank lines at the start
// and end are no rows.
TableRows tabSeparatedRows(QStringView text);
// Rows of empty cells.
TableRows emptyRows(const TableShape &shape);

// The forum's table of the rows, one row a line, every row as wide as the
// widest. A header row is written in header cells, or bold where the forum
// has none. A table tag without row and cell tags (a board's own) holds the
// rows as tab-separated lines.
TableMarkup tableMarkup(const Dialect &dialect, const TableRows &rows, bool header);
// The rows as tab-separated lines, for a forum without tables.
TableMarkup tabSeparatedText(const TableRows &rows);

} // namespace quorvane
