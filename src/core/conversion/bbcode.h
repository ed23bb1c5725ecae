#pragma once

#include "conversion/substitution.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

namespace quorvane {

// The HTML that opens a "[QUOTE]", "[CODE]", "[HTML]" or "[PHP]" block: a
// label, a framed division and an empty first line.
struct BlockHeaders
{
    QString quote;
    QString code;
    QString html;
    QString php;

    static BlockHeaders standard();
};

// Appended to the post before conversion, so it ends every page.
inline constexpr QStringView previewPageTitle = u"<title>Quorvane - Preview</title>";

// Test-only: the 88 ordered substitutions of the preview, with the smiley
// sources built from dataDir (dataDir + "/Smilies/" + file name).
SubstitutionList bbcodeSubstitutions(const QString &dataDir, const BlockHeaders &headers);

// The preview page text for a post: the title is appended and the 88 entries
// are applied one after another, literally, except that each "[/LIST]"
// becomes "</ol>" when it closes a list opened by "[LIST=1]". Slow; kept as
// the definition that convertBBCode() is tested against. Test-only: the
// program reaches it only through the one-pass functions below, for unusual
// block headers.
QString convertBBCodeReference(const QString &text, const QString &dataDir,
                               const BlockHeaders &headers);

// Same result as convertBBCodeReference(), in one pass over the post. Block
// headers that later entries could match or complete (none of the standard
// ones) are left to the literal passes. The Live Preview converts with it;
// the preview page itself is streamed with writeBBCodePage().
QString convertBBCode(const QString &text, const QString &dataDir, const BlockHeaders &headers);

// Test-only (tests and benchmarks): previewPageBytes(convertBBCode(...)),
// encoding while converting, without the page text in between.
QByteArray convertBBCodeToPageBytes(const QString &text, const QString &dataDir,
                                    const BlockHeaders &headers);

// The same bytes handed to `write` in blocks as they are made, so that a
// large page need not be held in memory. False when a write returned false.
bool writeBBCodePage(const QString &text, const QString &dataDir, const BlockHeaders &headers,
                     const std::function<bool(QByteArrayView)> &write);

} // namespace quorvane
