#include "text/choosers.h"

#include "settings/editorformat.h"

namespace quorvane {

namespace {
const std::vector<Chooser> &table()
{
    static const std::vector<Chooser> rows = {
        {"Fonts", "Fonts", "Font", "[Font=", "[/Font]", editorformat::fontNames()},
        {"Size",
         "Sizes",
         "Size",
         "[Size=",
         "[/Size]",
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")}},
        {"Color",
         "Colors",
         "Color",
         "[Color=",
         "[/Color]",
         {QStringLiteral("Red"), QStringLiteral("Blue"), QStringLiteral("Green"),
          QStringLiteral("Yellow"), QStringLiteral("Orange"), QStringLiteral("Black"),
          QStringLiteral("White"), QStringLiteral("Navy"), QStringLiteral("Pink"),
          QStringLiteral("Gray"), QStringLiteral("Purple")}},
    };
    return rows;
}
} // namespace

std::span<const Chooser> choosers()
{
    return table();
}

const Chooser *findChooser(const QString &name)
{
    for (const Chooser &chooser : table()) {
        if (name == QLatin1String(chooser.name))
            return &chooser;
    }
    return nullptr;
}

QString chooserInsertion(const Chooser &chooser, const QString &entry, const QString &selected)
{
    return QLatin1String(chooser.openingHead) + entry + QLatin1Char(']') + selected +
           QLatin1String(chooser.closing);
}

} // namespace quorvane
