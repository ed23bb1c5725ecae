#pragma once

#include <QString>

#include <vector>

namespace quorvane {

// How a run of text looks, as far as a post can say it.
struct InlineStyle
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool code = false; // fixed-pitch text that must show as written: [CODE]
    QString link;      // the address of the enclosing link, "mailto:" ones too
    QString color;     // a colour name the toolbar offers; "" for the surrounding one
    int size = 0;      // 1..7; 0 for the surrounding size

    bool operator==(const InlineStyle &) const = default;
};

enum class Break { Line = 1, Paragraph = 2 };

// Writes BBCode the way the toolbar does while a reader of formatted text
// walks its source. Inline tags open only when text needs them and close at
// every break and block tag, so whatever is written is closed, in order.
// Breaks between blocks do not add up; hard line breaks do. Outside code,
// runs of white space collapse to one space and none is left at a line's
// start or end; non-breaking spaces become spaces and are all kept.
class BBCodeWriter
{
public:
    // preserve: white space and line breaks as written (preformatted text).
    void text(QStringView text, const InlineStyle &style, bool preserve = false);
    void image(const QString &address, const InlineStyle &style);
    void lineBreak();
    void blockBreak(Break kind);
    void space(); // a break inside a table cell
    void cellSeparator();

    void openList(bool ordered);
    void listItem();
    void closeList();
    int listDepth() const { return m_listDepth; }
    void openQuote();
    void closeQuote();

    // Closes what is open; the post with CR LF line breaks and no final one.
    QString finish();

private:
    enum class Tag : quint8 { Code, Url, Email, Color, Size, Bold, Italic, Underline, Strike };
    struct OpenTag
    {
        Tag tag;
        QString value;
        qsizetype openAt = 0;    // where its opening tag starts in m_out
        qsizetype contentAt = 0; // where its content starts
    };

    void visibleChar(QChar c, const InlineStyle &style);
    void startContent(const InlineStyle &style);
    void wanted(const InlineStyle &style, std::vector<std::pair<Tag, QString>> &tags) const;
    void closeTo(size_t keep);
    void flushBreaks(int atLeast);

    QString m_out;
    std::vector<OpenTag> m_open;
    int m_breaks = 0;       // line breaks waiting for the next content
    QString m_pendingSpace; // white space waiting for the next visible character
    bool m_lastSpaceCollapsible = false;
    bool m_lineHasText = false;
    bool m_suppressBreaks = true; // at the start, after an opening block tag or item
    InlineStyle m_syncedStyle;    // the style the open tags were last made for
    bool m_synced = false;
    int m_listDepth = 0;
    int m_quoteDepth = 0;
};

} // namespace quorvane
