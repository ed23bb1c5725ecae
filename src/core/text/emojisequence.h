#pragma once

#include <QStringView>

namespace quorvane {

// Where the emoji sequence that ends at `end` starts (a family joined by
// ZWJ, a flag, a keycap, an emoji with a skin tone or a presentation
// selector), or -1 when the character cluster before `end` is no such
// sequence. Backspace removes such a cluster whole, as desktop text fields
// do; a letter with its accents still loses one character at a time.
qsizetype emojiSequenceStart(QStringView text, qsizetype end);

} // namespace quorvane
