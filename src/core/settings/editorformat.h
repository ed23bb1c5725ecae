#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::editorformat {

// The settings store: one INI file per user under the configuration folder.
inline constexpr char application[] = "Quorvane";
inline constexpr char group[] = "EditorFormat";
inline constexpr char fontNameKey[] = "CustomFontName";
inline constexpr char fontSizeKey[] = "CustomFontSize";

// Whether formatted text pasted or imported as BBCode keeps its colours and
// sizes ("true" or "false").
inline constexpr char keepColoursKey[] = "ImportKeepColoursAndSizes";
inline constexpr bool defaultKeepColours = false;

inline constexpr char defaultFontName[] = "Tahoma";
inline constexpr int defaultFontSize = 8;

// How the post's mark-up is shown: tags coloured, problems underlined ("1" or
// "0"), and the tag names the writer's forum knows besides the program's own,
// separated by spaces.
inline constexpr char colourTagsKey[] = "ColourTags";
inline constexpr bool defaultColourTags = true;
inline constexpr char underlineProblemsKey[] = "UnderlineProblems";
inline constexpr bool defaultUnderlineProblems = true;
inline constexpr char forumTagsKey[] = "ForumTags";

// The choices the Editor Format window offers, in its order.
const QStringList &fontNames();
const QStringList &fontSizes();

// A stored value, or "" when it was never written (or the store is unreadable).
QString readStored(const char *key);
// False when the store could not be written (a read-only or full disk).
bool writeStored(const char *key, const QString &value);

struct EditorFont
{
    QString name;
    int size = defaultFontSize;
};
// The stored font with each part checked on its own: a part that was never
// stored, or is not one of the offered choices, is its default.
EditorFont storedEditorFont();
// A stored "1" or "0", or the fallback when it is neither.
bool readStoredFlag(const char *key, bool fallback);
bool writeStoredFlag(const char *key, bool on);
// The stored forum tag names.
QStringList forumTagNames();
bool writeForumTagNames(const QStringList &names);
// The installed family that was drawn for a chosen one the machine lacks, as
// the last start found it ("Tahoma" drawn in "DejaVu Sans"): naming it at
// once spares the start Qt's search through the installed fonts. Empty when
// none is remembered for that family.
inline constexpr char fontStandInKey[] = "CustomFontStandIn";
QString storedStandIn(const QString &family);
bool writeStandIn(const QString &family, const QString &drawnIn);
// Where the store lives; for messages and tests.
QString storePath();

} // namespace quorvane::editorformat
