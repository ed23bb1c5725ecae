#pragma once

#include <QStringView>

#include <array>
#include <cstddef>

namespace quorvane {

// One smiley: the code a post holds, the picture that shows it and its
// button in the smilies panel.
struct Smiley
{
    QStringView code;    // as written; its letters match in either case
    QStringView picture; // "<picture>.gif" in the data folder's Smilies/,
                         // ":/smilies/<picture>.svg" in the panel
    QStringView name;    // the panel button's object name
    QStringView tooltip; // the panel button's tip and accessible name
    int column;          // the button's place in the panel, from the left
};

// Every smiley, in the order the preview replaces the codes: where two codes
// share a colon (":cool:)"), the earlier row wins. The build installs one GIF
// per row (QUORVANE_SMILIES in resources/CMakeLists.txt; a test checks that
// the two agree).
inline constexpr std::array<Smiley, 10> smilies = {{
    {u":)", u"Smile", u"Smile", u"Smile", 8},
    {u":o", u"Embarrassment", u"Shy", u"Embarrassment", 5},
    {u":(", u"Frown", u"Sad", u"Frown", 1},
    {u":p", u"Stick Out Tongue", u"Kidding", u"Stick Out Tongue", 7},
    {u":mad:", u"Mad", u"Angry", u"Mad", 6},
    {u":cool:", u"Cool", u"Cool", u"Cool", 3},
    {u";)", u"Wink", u"Wink", u"Wink", 2},
    {u":eek:", u"EEK", u"EEK", u"EEK!", 4},
    {u":rolleyes:", u"Roll Eyes", u"RollEyes", u"Roll Eyes (Sarcastic)", 9},
    {u":D", u"Grin", u"Grin", u"Big Grin", 0},
}};

// The rows in the panel's order, left to right.
inline constexpr std::array<std::size_t, smilies.size()> smiliesByColumn = [] {
    std::array<std::size_t, smilies.size()> rows{};
    for (std::size_t row = 0; row < smilies.size(); ++row)
        rows[std::size_t(smilies[row].column)] = row;
    return rows;
}();

namespace detail {
constexpr bool eachColumnOnce()
{
    std::array<int, smilies.size()> uses{};
    for (const Smiley &smiley : smilies) {
        if (smiley.column < 0 || std::size_t(smiley.column) >= smilies.size())
            return false;
        ++uses[std::size_t(smiley.column)];
    }
    for (int n : uses) {
        if (n != 1)
            return false;
    }
    return true;
}
} // namespace detail
static_assert(detail::eachColumnOnce(), "every panel column holds exactly one smiley");

} // namespace quorvane
