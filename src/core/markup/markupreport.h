#pragma once

#include "markup/knowntags.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

namespace quorvane {

// Line and column of positions in a text, both from 1; a column counts
// characters (code points, a tab as one). Positions must be asked for in
// increasing order: the text is walked once.
class LineColumns
{
public:
    explicit LineColumns(QStringView text) : m_text(text) {}

    struct Place
    {
        qsizetype line = 1;
        qsizetype column = 1;
    };
    Place at(qsizetype pos);

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_line = 1;
    qsizetype m_column = 1;
};

// Writes the problems of a post one a line as "NAME:LINE:COLUMN: error:
// MESSAGE", in order of position, as compilers do, so editors and scripts read
// them as they stand. Returns the number of problems, or -1 when `write`
// failed.
qsizetype writeMarkupReport(const QString &name, QStringView text, const KnownTags &tags,
                            const std::function<bool(QByteArrayView)> &write);

} // namespace quorvane
