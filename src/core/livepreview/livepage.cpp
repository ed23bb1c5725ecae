#include "livepreview/livepage.h"

#include "conversion/previewpage.h"
#include "forum/forumpage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <algorithm>

namespace quorvane {

namespace {
// Marks a line's start while the post is converted. A Unicode noncharacter:
// reserved for a program's own internal use, no conversion entry contains it,
// and it cannot join or split a match since every entry's text lies within a
// line or is the line break itself.
constexpr QChar kLineMark(0xFDD0);
constexpr QLatin1StringView kAnchorPrefix("quorvane-line-");

// Browsers read an unquoted address up to a space or ">"; Qt's reader stops
// at "=" too, and would cut "a?b=1". Quoting them keeps the address whole.
QString quoteBareAddresses(const QString &html)
{
    static const QRegularExpression bare(
        QStringLiteral("(<(?:a|img)\\b[^>]*?\\b(?:href|src)=)([^\"'\\s>][^\\s>]*)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!html.contains(bare))
        return html;
    QString quoted = html;
    quoted.replace(bare, QStringLiteral("\\1\"\\2\""));
    return quoted;
}

// The page with each line mark turned into the named anchor of its line:
// lineOf(k) is the line of the k-th of `marks` marks.
template <class LineOf>
QString withLineAnchors(QStringView page, qsizetype marks, const LineOf &lineOf)
{
    QString html;
    html.reserve(page.size() + (marks + 1) * 40);
    qsizetype k = 0;
    qsizetype done = 0;
    for (qsizetype at = page.indexOf(kLineMark); at >= 0; at = page.indexOf(kLineMark, done)) {
        html += page.mid(done, at - done);
        if (k < marks) {
            html += QLatin1String("<a name=\"");
            html += lineAnchorName(lineOf(k++));
            html += QLatin1String("\"></a>");
        }
        done = at + 1;
    }
    html += page.mid(done);
    return html;
}

QString joinLines(const QTextBlock &first, const QTextBlock &last)
{
    QString text;
    for (QTextBlock block = first;; block = block.next()) {
        text += block.text();
        if (block == last)
            break;
        text += QLatin1String("\r\n");
    }
    return text;
}
} // namespace

PostExcerpt excerptAround(const QTextDocument &post, qsizetype caretLine, int caretColumn,
                          qsizetype budget)
{
    PostExcerpt excerpt;
    excerpt.postLines = post.blockCount();
    caretLine = std::clamp<qsizetype>(caretLine, 0, excerpt.postLines - 1);
    if (post.characterCount() - 1 <= budget) {
        excerpt.text = post.toRawText();
        excerpt.text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
        excerpt.lineCount = excerpt.postLines;
        return excerpt;
    }
    const QTextBlock caret = post.findBlockByNumber(int(caretLine));
    excerpt.firstLine = caretLine;
    if (caret.length() - 1 > budget) {
        // One line longer than the whole budget: the part of it around the caret.
        const qsizetype from =
            std::clamp<qsizetype>(caretColumn - budget / 2, 0, caret.length() - 1 - budget);
        excerpt.text = caret.text().mid(from, budget);
        excerpt.cutLine = true;
        return excerpt;
    }
    // Grow by whole lines on both sides while they fit.
    QTextBlock first = caret;
    QTextBlock last = caret;
    qsizetype used = caret.length();
    for (bool grew = true; grew;) {
        grew = false;
        if (const QTextBlock before = first.previous();
            before.isValid() && used + before.length() <= budget) {
            first = before;
            used += before.length();
            grew = true;
        }
        if (const QTextBlock after = last.next();
            after.isValid() && used + after.length() <= budget) {
            last = after;
            used += after.length();
            grew = true;
        }
    }
    excerpt.firstLine = first.blockNumber();
    excerpt.lineCount = last.blockNumber() - excerpt.firstLine + 1;
    excerpt.text = joinLines(first, last);
    return excerpt;
}

QString lineAnchorName(qsizetype line)
{
    return kAnchorPrefix + QString::number(line);
}

QString livePageHtml(const PostExcerpt &excerpt, const QString &dataDir,
                     const BlockHeaders &headers)
{
    const QStringView text = excerpt.text;
    QString marked;
    marked.reserve(text.size() + excerpt.lineCount + 1);
    marked += kLineMark;
    qsizetype done = 0;
    for (qsizetype at = text.indexOf(u"\r\n"); at >= 0; at = text.indexOf(u"\r\n", done)) {
        marked += text.mid(done, at + 2 - done);
        marked += kLineMark;
        done = at + 2;
    }
    marked += text.mid(done);

    const QString page = convertBBCode(marked, dataDir, headers);
    return withLineAnchors(page, excerpt.lineCount,
                           [&](qsizetype k) { return excerpt.firstLine + k; });
}

QString forumLivePageHtml(const PostExcerpt &excerpt, Forum forum, const QString &dataDir)
{
    const QString post = forumPostText(excerpt.text);
    const QString plain = forumPageHtml(forum, post, dataDir);
    // A mark only before a line that starts with a letter or digit: beside a
    // tag, a space or a smiley code it could change what the forum makes of
    // the line (whitespace trimmed around block tags, smilies that need a
    // space before them).
    QString marked;
    marked.reserve(post.size() + excerpt.lineCount + 1);
    std::vector<qsizetype> markedLines;
    qsizetype line = excerpt.firstLine;
    for (qsizetype start = 0;; ++line) {
        if (start < post.size() && post[start].isLetterOrNumber()) {
            marked += kLineMark;
            markedLines.push_back(line);
        }
        const qsizetype end = post.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            marked += QStringView(post).mid(start);
            break;
        }
        marked += QStringView(post).mid(start, end + 1 - start);
        start = end + 1;
    }
    if (markedLines.empty())
        return plain;
    QString page = forumPageHtml(forum, marked, dataDir);
    // The marks must have changed nothing else; where they did, the page goes
    // without them.
    if (page.count(kLineMark) != qsizetype(markedLines.size()) ||
        QString(page).remove(kLineMark) != plain)
        return plain;
    return withLineAnchors(page, qsizetype(markedLines.size()),
                           [&](qsizetype k) { return markedLines[size_t(k)]; });
}

LivePage::LivePage() = default;
LivePage::~LivePage() = default;

int LivePage::positionOfLine(qsizetype line) const
{
    if (lineStarts.empty())
        return 0;
    qsizetype index =
        std::clamp<qsizetype>(line - excerpt.firstLine, 0, qsizetype(lineStarts.size()) - 1);
    return lineStarts[size_t(index)];
}

QUrl livePageBase(const QString &dataDir)
{
    return QUrl::fromLocalFile(QDir(dataDir).filePath(QString::fromLatin1(previewPageFileName)));
}

std::unique_ptr<LivePage> buildLivePage(PostExcerpt excerpt, const QString &dataDir,
                                        const BlockHeaders &headers, const QFont &font,
                                        QThread *home, Forum forum)
{
    QElapsedTimer clock;
    clock.start();
    auto page = std::make_unique<LivePage>();
    const bool generic = forum == Forum::Generic;
    QString html = generic ? livePageHtml(excerpt, dataDir, headers)
                           : forumLivePageHtml(excerpt, forum, dataDir);
    // A text browser keeps a quote's heading inline, where the forums' themes
    // give it a line of its own ("Quote from: Anna" above "Bring water").
    if (!generic)
        html.replace(QLatin1String("</cite>"), QLatin1String("</cite><br>"));
    // Where each line starts, as a share of the excerpt: a forum's page
    // without anchors places its lines by it.
    std::vector<double> shares;
    if (!generic) {
        const QStringView text = excerpt.text;
        const double size = double(std::max<qsizetype>(1, text.size()));
        shares.push_back(0);
        for (qsizetype at = text.indexOf(u"\r\n"); at >= 0; at = text.indexOf(u"\r\n", at + 2))
            shares.push_back(double(at + 2) / size);
    }
    page->pageLength = html.size();
    page->postLength = excerpt.text.size();
    excerpt.text.clear();
    page->excerpt = std::move(excerpt);

    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(font);
    document->setBaseUrl(livePageBase(dataDir));
    document->setHtml(quoteBareAddresses(html));

    // Each line's mark became the anchor name of the first text after it.
    std::vector<int> &starts = page->lineStarts;
    starts.assign(size_t(page->excerpt.lineCount), -1);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor())
                continue;
            for (const QString &name : format.anchorNames()) {
                if (!name.startsWith(kAnchorPrefix))
                    continue;
                bool ok = false;
                const qsizetype index =
                    QStringView(name).mid(kAnchorPrefix.size()).toLongLong(&ok) -
                    page->excerpt.firstLine;
                if (ok && index >= 0 && index < qsizetype(starts.size()) &&
                    starts[size_t(index)] < 0)
                    starts[size_t(index)] = fragment.position();
            }
        }
    }
    if (!generic && std::all_of(starts.begin(), starts.end(), [](int at) { return at < 0; })) {
        const int end = std::max(0, document->characterCount() - 1);
        for (size_t i = 0; i < starts.size() && i < shares.size(); ++i)
            starts[i] = int(shares[i] * end);
    }
    // A line whose mark fell inside a tag (or, on a forum's page, that starts
    // with no letter or digit) shares the place of the line before.
    int last = 0;
    for (int &start : starts) {
        if (start < 0)
            start = last;
        last = start;
    }
    document->moveToThread(home);
    page->document = std::move(document);
    page->buildNanoseconds = clock.nsecsElapsed();
    return page;
}

} // namespace quorvane
