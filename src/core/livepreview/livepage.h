#pragma once

#include "conversion/bbcode.h"
#include "forum/forum.h"

#include <QFont>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <memory>
#include <vector>

class QTextDocument;
class QThread;

namespace quorvane {

// Whole lines of a post (CR LF breaks) and where they stand in it. A single
// line longer than the budget is cut around the caret instead.
struct PostExcerpt
{
    QString text;
    qsizetype firstLine = 0; // the post's line number of the excerpt's first line
    qsizetype lineCount = 1;
    qsizetype postLines = 1;
    bool cutLine = false; // one over-long line, cut on both sides

    bool isWhole() const { return firstLine == 0 && lineCount == postLines && !cutLine; }
    qsizetype lastLine() const { return firstLine + lineCount - 1; }
};

// The lines of a document (one block per line, as the editor keeps the post)
// around caretLine, at most about budget characters; all of it when it fits.
PostExcerpt excerptAround(const QTextDocument &post, qsizetype caretLine, int caretColumn,
                          qsizetype budget);

// The anchor name that marks where line `line` of the post starts.
QString lineAnchorName(qsizetype line);

// The preview page of the excerpt exactly as Preview in Browser makes it,
// with an empty named anchor (lineAnchorName) before each line's first
// character. Taking the anchors out gives convertBBCode(excerpt.text) back.
QString livePageHtml(const PostExcerpt &excerpt, const QString &dataDir,
                     const BlockHeaders &headers);

// The chosen forum's page (forumPageHtml) of the excerpt, with the same line
// anchors as livePageHtml where a line starts with a letter or digit, when
// the marks leave the forum's rendering exactly as it is; without any anchor
// otherwise.
QString forumLivePageHtml(const PostExcerpt &excerpt, Forum forum, const QString &dataDir);

// A page turned into a document, ready for a text browser.
struct LivePage
{
    std::unique_ptr<QTextDocument> document;
    PostExcerpt excerpt;         // without its text
    std::vector<int> lineStarts; // document position of each excerpt line's start
    qsizetype postLength = 0;    // characters of the excerpt
    qsizetype pageLength = 0;    // characters of HTML
    qint64 buildNanoseconds = 0; // the time buildLivePage took

    LivePage();
    ~LivePage();
    // Where the post's line `line` starts in the document (the nearest line
    // before it that left a mark; 0 when none).
    int positionOfLine(qsizetype line) const;
};

// Converts and lays the page into a new document; runs in any thread. The
// document ends up owned by no one and living in `home` (the thread that will
// show it). Relative sources and links resolve against dataDir, where the
// browser preview's page lives. A forum other than Generic gives that
// forum's page (forumLivePageHtml).
std::unique_ptr<LivePage> buildLivePage(PostExcerpt excerpt, const QString &dataDir,
                                        const BlockHeaders &headers, const QFont &font,
                                        QThread *home, Forum forum = Forum::Generic);

// The base every relative address on the page resolves against.
QUrl livePageBase(const QString &dataDir);

} // namespace quorvane
