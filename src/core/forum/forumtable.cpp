#include "forum/forumtable.h"

#include <algorithm>

namespace quorvane {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString nameIn(const Dialect &dialect, QStringView name)
{
    const TagDefinition *tag = dialect.tag(name);
    return tag ? tag->name : QString();
}

qsizetype widest(const TableRows &rows)
{
    qsizetype out = 0;
    for (const QStringList &row : rows)
        out = std::max(out, row.size());
    return out;
}

} // namespace

TableTags tableTags(const Dialect &dialect)
{
    TableTags out;
    out.table = nameIn(dialect, u"table");
    if (out.table.isEmpty())
        return out;
    out.row = nameIn(dialect, u"tr");
    out.cell = nameIn(dialect, u"td");
    out.headerCell = nameIn(dialect, u"th");
    return out;
}

bool hasTables(const Dialect &dialect)
{
    return dialect.tag(u"table") != nullptr;
}

TableRows tabSeparatedRows(QStringView text)
{
    QList<QStringView> lines = text.split(u'\n');
    for (QStringView &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.front().trimmed().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    TableRows out;
    for (QStringView line : lines) {
        QStringList cells;
        for (QStringView cell : line.split(u'\t'))
            cells << cell.toString();
        out.push_back(cells);
    }
    return out;
}

TableRows emptyRows(const TableShape &shape)
{
    return TableRows(std::size_t(std::max(shape.rows, 1)),
                     QStringList(std::max(shape.columns, 1), QString()));
}

TableMarkup tableMarkup(const Dialect &dialect, const TableRows &rows, bool header)
{
    const TableTags tags = tableTags(dialect);
    if (tags.table.isEmpty())
        return tabSeparatedText(rows);
    const auto open = [](const QString &name) { return u'[' + name + u']'; };
    const auto close = [](const QString &name) { return QStringLiteral("[/") + name + u']'; };
    TableMarkup out;
    out.text = open(tags.table) + kLineBreak;
    if (tags.row.isEmpty() || tags.cell.isEmpty()) {
        const TableMarkup inside = tabSeparatedText(rows);
        out.caret = out.text.size() + inside.caret;
        out.text += inside.text + kLineBreak + close(tags.table);
        return out;
    }
    const qsizetype columns = std::max<qsizetype>(widest(rows), 1);
    // Each tag's text made once: a pasted sheet can have many thousand cells.
    const QString rowOpen = open(tags.row), rowClose = close(tags.row) + kLineBreak;
    const QString cellOpen = open(tags.cell), cellClose = close(tags.cell);
    qsizetype size = out.text.size() + qsizetype(rows.size()) * (rowOpen.size() + rowClose.size());
    for (const QStringList &row : rows) {
        size += columns * (cellOpen.size() + cellClose.size());
        for (const QString &cell : row)
            size += cell.size();
    }
    out.text.reserve(size + 64);
    out.caret = -1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool headerRow = header && r == 0;
        const bool headerCells = headerRow && !tags.headerCell.isEmpty();
        // Where the forum has no header cell, the header row is bold.
        const bool bold = headerRow && tags.headerCell.isEmpty();
        const QString &cellStart = headerCells ? open(tags.headerCell) : cellOpen;
        const QString &cellEnd = headerCells ? close(tags.headerCell) : cellClose;
        out.text += rowOpen;
        for (qsizetype c = 0; c < columns; ++c) {
            out.text += cellStart;
            if (bold)
                out.text += QStringLiteral("[b]");
            if (out.caret < 0)
                out.caret = out.text.size();
            if (c < rows[r].size())
                out.text += rows[r][c];
            if (bold)
                out.text += QStringLiteral("[/b]");
            out.text += cellEnd;
        }
        out.text += rowClose;
    }
    if (out.caret < 0)
        out.caret = out.text.size();
    out.text += close(tags.table);
    return out;
}

TableMarkup tabSeparatedText(const TableRows &rows)
{
    const qsizetype columns = std::max<qsizetype>(widest(rows), 1);
    QStringList lines;
    for (const QStringList &row : rows) {
        QStringList cells = row;
        while (cells.size() < columns)
            cells << QString();
        lines << cells.join(u'\t');
    }
    return {lines.join(kLineBreak), 0};
}

} // namespace quorvane
