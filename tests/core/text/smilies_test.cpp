#include "text/smilies.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

using namespace quorvane;

// The build copies and installs the GIFs listed in resources/CMakeLists.txt;
// the preview page points at the table's pictures. Both lists name the same
// files in the same order.
TEST(SmileyTable, TheInstalledPicturesAreTheTablesRows)
{
    const QStringList installed = QString::fromUtf8(QUORVANE_INSTALLED_SMILIES).split(u'|');
    QStringList pictures;
    for (const Smiley &smiley : smilies)
        pictures.append(smiley.picture.toString() + QStringLiteral(".gif"));
    EXPECT_EQ(installed, pictures);
}
