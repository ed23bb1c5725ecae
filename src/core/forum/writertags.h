#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace quorvane {

// The BBCode tags a writer uses, whichever forum they are meant for: the
// program's own, the three forums' and common others ([spoiler], [indent],
// ...). Read for adapting a post (forum/forumadapt).

// What a tag is to the writer.
enum class TagKind : unsigned char { Inline, Block, Quote, List, Item, Literal, Value, Single };

struct WriterTag
{
    bool close = false;
    TagKind kind = TagKind::Inline;
    int word = -1; // the name's index, below writerTagNames()
    QString name;  // lower case
    qsizetype begin = 0, end = 0;
    qsizetype attrBegin = 0, attrEnd = 0; // after the name, before ']'
};

// How many tag names there are.
int writerTagNames();

// The tags in a post, found by the same shape as the forums find theirs:
// "[name]", "[name=...]", "[name ...]", "[/name]", all on one line.
// [url]address[/url] and [email]address[/email] hold a value.
std::vector<WriterTag> findWriterTags(QStringView post);

// The value after '=' (without quotes), or of " key=", in a tag's attributes.
QString tagAttribute(QStringView attrs, QStringView key = {});

// "http://" before an address that names a site but no scheme.
QString withScheme(const QString &address);

// "[/img]" for "[img width=1 height=2]".
QString closingTagFor(const QString &open);

} // namespace quorvane
