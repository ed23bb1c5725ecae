#pragma once

#include <QString>
#include <QStringView>

namespace quorvane {

// The post's own line break.
inline constexpr char16_t CR = u'\r';
inline constexpr char16_t LF = u'\n';
inline const QString CRLF = QStringLiteral("\r\n");

// CR, LF and CR LF each become one LF (the form the editor stores).
QString toLfBreaks(QStringView text);
// CR, LF and CR LF each become CR LF (the form every command sees and a file
// is read into). Text that already has only CR LF breaks is returned as it
// is, without a copy.
QString toCrLfBreaks(QString text);

// The one case fold of tags, codes and finds: the ASCII letters A-Z become
// a-z and every other character stays as it is, so a tag never matches
// look-alike letters (U+017F, long s, is not "s").
constexpr char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// Removes every occurrence of needle, scanning left to right without
// overlaps. Only the ASCII letters A-Z fold; every other character must match
// exactly, so a tag never matches look-alike letters.
QString removeAsciiCaseless(QStringView text, QStringView needle);

// Equal ignoring the case of ASCII letters only.
bool equalsAsciiCaseless(QStringView a, QStringView b);

} // namespace quorvane
