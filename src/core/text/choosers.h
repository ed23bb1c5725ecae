#pragma once

#include <QString>
#include <QStringList>
#include <span>

namespace quorvane {

// A toolbar drop-down that wraps the selection in a tag pair carrying the
// chosen entry, e.g. "[Font=" entry "]" ... "[/Font]".
struct Chooser
{
    const char *name;        // the control's name
    const char *startText;   // shown until an entry is chosen; never inserted
    const char *accessible;  // what a screen reader calls it
    const char *openingHead; // "[Font="
    const char *closing;     // "[/Font]"
    QStringList entries;
};

std::span<const Chooser> choosers();
const Chooser *findChooser(const QString &name);

// The text a choice writes around the selected text.
QString chooserInsertion(const Chooser &chooser, const QString &entry, const QString &selected);

} // namespace quorvane
