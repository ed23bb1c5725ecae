// Spelling in the window with the real en_US dictionary: which words are
// underlined, the word being typed, the context menu's suggestions, Add to
// Dictionary and Ignore All, the remembered choices, and a machine without
// dictionaries.

#include "commands/markupcommands.h"
#include "commands/spellingcommands.h"
#include "settings/spelling.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/spellunderlines.h"
#include "shell/typer.h"
#include "support/nodictionary.h"
#include "support/scripted.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

QT_BEGIN_NAMESPACE
// Readable failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace quorvane;

namespace {

SpellingCommands &spelling(test::Window &w)
{
    return *SpellingCommands::of(*w.form);
}

// Waits until the window has looked for its dictionary (and loaded it).
bool loaded(test::Window &w, bool withDictionary = true)
{
    SpellingCommands &s = spelling(w);
    return QTest::qWaitFor([&] { return s.isSettled() && (!withDictionary || s.speller()); },
                           30000);
}

// The words shown with the spelling underline, in order, once every block
// on screen is coloured.
QStringList underlined(test::Window &w)
{
    auto &highlighter = w.form->findChild<MarkupCommands *>()->highlighter();
    EXPECT_TRUE(QTest::qWaitFor([&] { return highlighter.isSettled(); }, 30000));
    Typer *typer = w.form->typer();
    typer->viewport()->repaint();
    QStringList words;
    for (QTextBlock block = typer->document()->begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline &&
                range.format.underlineColor() == SpellUnderlines::colour)
                words << block.text().mid(range.start, range.length);
        }
    }
    return words;
}

// The viewport point over the middle of the first occurrence of `word`.
QPoint pointOver(Typer *typer, const QString &word)
{
    const qsizetype at = typer->text().indexOf(word);
    EXPECT_GE(at, 0);
    QTextCursor cursor(typer->document());
    cursor.setPosition(typer->toDocumentPosition(at + word.size() / 2, false));
    const QRect rect = typer->cursorRect(cursor);
    return QPoint(rect.x() + 1, rect.center().y());
}

QStringList texts(const QMenu *menu)
{
    QStringList list;
    for (const QAction *action : menu->actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

// Each test has Enchant's per-user folder (the personal word lists) and the
// program's choices to itself, with checking on in American English.
class SpellingWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_enchant.isValid());
        qputenv("ENCHANT_CONFIG_DIR", m_enchant.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_enchant.path().toUtf8());
        spelling::writeCheck(true);
        spelling::writeLanguage(QStringLiteral("en_US"));
    }

    QTemporaryDir m_enchant;
};

struct UnderlineCase
{
    const char *name;
    const char16_t *post;
    QStringList words;
};

class Underlines : public SpellingWindowTest, public testing::WithParamInterface<UnderlineCase>
{
};

TEST_P(Underlines, OnlyMisspelledProse)
{
    test::Window w;
    w.form->typer()->setText(QString::fromUtf16(GetParam().post));
    ASSERT_TRUE(loaded(w));
    EXPECT_EQ(underlined(w), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Posts, Underlines,
    testing::Values(
        UnderlineCase{"GluedToTags", u"[B]wrod[/B] and [i]speling[/i] here", {"wrod", "speling"}},
        UnderlineCase{"TagNamesAndValues",
                      u"[COLOR=rde]colr[/COLOR] [FONT=Tahomma]fnt[/FONT] [QUOTE]fine[/QUOTE]",
                      {"colr", "fnt"}},
        UnderlineCase{"LinkTextNotAddress",
                      u"[URL=https://exmaple.org/speling]the txet[/URL] [URL]http://wrod.org[/URL]",
                      {"txet"}},
        UnderlineCase{"BareAddressesAndSmilies",
                      u"see www.exmaple.com or mial@exmaple.com :rolleyes: realy",
                      {"realy"}},
        UnderlineCase{"VerbatimAcrossLines",
                      u"[CODE]\r\nint speling;\r\n[/CODE]\r\nspeling [NOPARSE][B]wrod[/NOPARSE]",
                      {"speling"}},
        UnderlineCase{"ApostrophesAndHyphens", u"don't it’s well-known wel-known", {"wel-known"}},
        UnderlineCase{"OtherScriptsAreLeftOut",
                      u"[QUOTE]\u05e9\u05dc\u05d5\u05dd[/QUOTE] \u0645\u0631\u062d\u0628\u0627 "
                      u"\u03ba\u03b1\u03bb\u03ac wrod",
                      {"wrod"}}),
    [](const testing::TestParamInfo<UnderlineCase> &row) { return std::string(row.param.name); });

TEST_F(SpellingWindowTest, TheWordBeingTypedWaitsForTheCaretToLeave)
{
    test::Window w;
    // An empty post needs no dictionary: the first key fetches it.
    QCoreApplication::processEvents();
    EXPECT_FALSE(spelling(w).isSettled());
    Typer *typer = w.form->typer();
    typer->setFocus();
    QTest::keyClicks(typer, QStringLiteral("Ths"));
    ASSERT_TRUE(loaded(w));
    EXPECT_EQ(underlined(w), QStringList());
    QTest::keyClick(typer, Qt::Key_Space);
    EXPECT_EQ(underlined(w), QStringList{"Ths"});
    QTest::keyClicks(typer, QStringLiteral("wrod"));
    EXPECT_EQ(underlined(w), QStringList{"Ths"});
    QTest::keyClick(typer, Qt::Key_Left);
    EXPECT_EQ(underlined(w), QStringList{"Ths"}); // still inside the word
    QTest::keyClick(typer, Qt::Key_Home);
    EXPECT_EQ(underlined(w), (QStringList{"Ths", "wrod"}));
}

TEST_F(SpellingWindowTest, ASuggestionReplacesTheWordAsOneUndoStep)
{
    test::Window w;
    Typer *typer = w.form->typer();
    const QString post = QStringLiteral("I have a [B]speling[/B] problem");
    typer->setText(post);
    ASSERT_TRUE(loaded(w));
    std::unique_ptr<QMenu> menu(spelling(w).contextMenuFor(pointOver(typer, "speling")));
    const QStringList items = texts(menu.get());
    ASSERT_TRUE(items.contains(QStringLiteral("spelling"))) << items.join(u',').toStdString();
    const qsizetype suggestions = items.indexOf(QStringLiteral("-"));
    EXPECT_GE(suggestions, 1);
    EXPECT_LE(suggestions, 6);
    EXPECT_EQ(items.mid(suggestions),
              (QStringList{"-", "Add to Dictionary", "Ignore All", "-", "Undo", "-", "Cut", "Copy",
                           "Paste", "Delete", "-", "Select All"}));
    // The window's own commands, so they do what its menu items do.
    EXPECT_EQ(menu->actions().at(suggestions + 6), w.form->command("Cut"));
    EXPECT_EQ(menu->actions().back(), w.form->command("SelectAll"));

    menu->actions().at(items.indexOf(QStringLiteral("spelling")))->trigger();
    EXPECT_EQ(typer->text(), QStringLiteral("I have a [B]spelling[/B] problem"));
    EXPECT_EQ(underlined(w), QStringList());
    typer->undo();
    EXPECT_EQ(typer->text(), post);
    // The menu key asks about the word just before the caret.
    typer->setSelStart(post.indexOf(QStringLiteral("speling")) + 7);
    menu.reset(spelling(w).contextMenuAtCaret());
    EXPECT_TRUE(texts(menu.get()).contains(QStringLiteral("spelling")));

    // A word spelt right, or a place between words, has the commands only.
    menu.reset(spelling(w).contextMenuFor(pointOver(typer, "problem")));
    EXPECT_EQ(texts(menu.get()),
              (QStringList{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
}

class AddOrIgnore : public SpellingWindowTest, public testing::WithParamInterface<const char *>
{
};

TEST_P(AddOrIgnore, ClearsTheUnderlineEverywhere)
{
    test::Window w;
    Typer *typer = w.form->typer();
    typer->setText(QStringLiteral("Zorblax meets [I]Zorblax[/I] and wrod"));
    ASSERT_TRUE(loaded(w));
    ASSERT_EQ(underlined(w), (QStringList{"Zorblax", "Zorblax", "wrod"}));
    std::unique_ptr<QMenu> menu(spelling(w).contextMenuFor(pointOver(typer, "Zorblax")));
    QAction *action = menu->findChild<QAction *>(QLatin1String(GetParam()));
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(underlined(w), QStringList{"wrod"});
}

INSTANTIATE_TEST_SUITE_P(Actions, AddOrIgnore, testing::Values("AddToDictionary", "IgnoreAll"));

TEST_F(SpellingWindowTest, LanguageAndOnOffAreRememberedInANewWindow)
{
    {
        test::Window w;
        w.form->typer()->setText(QStringLiteral("Straße und Strase"));
        ASSERT_TRUE(loaded(w));
        auto *german = w.form->findChild<QAction *>(QStringLiteral("SpellingLanguage_de_DE"));
        ASSERT_NE(german, nullptr);
        EXPECT_EQ(german->text(), QStringLiteral("German (Germany)"));
        auto *american = w.form->findChild<QAction *>(QStringLiteral("SpellingLanguage_en_US"));
        ASSERT_NE(american, nullptr);
        EXPECT_EQ(american->text(), QStringLiteral("English (United States)"));
        EXPECT_TRUE(american->isChecked());
        german->trigger();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return spelling(w).speller() && spelling(w).speller()->tag() == "de_DE"; },
            30000));
        EXPECT_EQ(underlined(w), QStringList{"Strase"});
        w.form->command("CheckSpelling")->trigger();
        EXPECT_EQ(underlined(w), QStringList());
    }
    test::Window w;
    w.form->typer()->setText(QStringLiteral("Strase"));
    ASSERT_TRUE(loaded(w, false));
    EXPECT_FALSE(w.form->command("CheckSpelling")->isChecked());
    EXPECT_EQ(spelling(w).speller(), nullptr);
    auto *german = w.form->findChild<QAction *>(QStringLiteral("SpellingLanguage_de_DE"));
    ASSERT_NE(german, nullptr);
    EXPECT_TRUE(german->isChecked());
    w.form->command("CheckSpelling")->trigger();
    ASSERT_TRUE(loaded(w));
    EXPECT_EQ(spelling(w).speller()->tag(), QStringLiteral("de_DE"));
}

// Run in a child whose Hunspell folder is empty (see below).
TEST(NoDictionary, CheckSpellingIsOffAndSaysWhy)
{
    if (!qEnvironmentVariableIsSet("QUORVANE_NO_DICTIONARY_CHILD"))
        GTEST_SKIP() << "run by NoDictionary.InAChild";
    spelling::writeCheck(true);
    test::Window w;
    w.form->typer()->setText(QStringLiteral("wrod"));
    ASSERT_TRUE(loaded(w, false));
    QAction *check = w.form->command("CheckSpelling");
    EXPECT_FALSE(check->isEnabled());
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(check->text(), QStringLiteral("Check Spelling (no dictionary installed)"));
    EXPECT_EQ(texts(w.form->control<QMenu>("SpellingLanguage")),
              QStringList{"(no dictionary installed)"});
    EXPECT_EQ(underlined(w), QStringList());
    std::unique_ptr<QMenu> menu(spelling(w).contextMenuFor(pointOver(w.form->typer(), "wrod")));
    EXPECT_EQ(texts(menu.get()).front(), QStringLiteral("Undo"));
    EXPECT_TRUE(spelling::readCheck()); // a dictionary installed later is used
}

// The Hunspell folder is hidden behind an empty one in a mount namespace of
// the child's own; Enchant's other places point at an empty folder.
TEST(NoDictionary, InAChild)
{
    test::runWithoutDictionaries("NoDictionary.CheckSpellingIsOffAndSaysWhy");
}

} // namespace
