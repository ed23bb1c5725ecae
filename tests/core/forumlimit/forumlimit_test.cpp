// The forum choice and the length profile kept as one choice where they name
// the same forum: each rule once, both ways.
#include "settings/forumlimit.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

postlimit::Choice profile(const char *key, qsizetype limit, LengthRule rule = {})
{
    return {QString::fromLatin1(key), limit, rule};
}

const postlimit::Choice none{};

struct MenuCase
{
    const char *rule;
    Forum forum;
    postlimit::Choice before, after;
};

class ForumToLimit : public ::testing::TestWithParam<MenuCase>
{
};

TEST_P(ForumToLimit, FollowsTheForumMenu)
{
    EXPECT_EQ(forumlimit::limitForForum(GetParam().forum, GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ForumToLimit,
    ::testing::Values(
        MenuCase{"AForumBringsItsOwnNumbers", Forum::Smf, profile("phpbb", 123),
                 profile("smf", 20000, {true, 2})},
        MenuCase{"NoLimitTakesTheForumsLimit", Forum::MyBB, none, profile("mybb", 65535)},
        MenuCase{"TheSameForumKeepsTheWritersNumbers", Forum::PhpBB,
                 profile("phpbb", 500, {false, 2}), profile("phpbb", 500, {false, 2})},
        MenuCase{"DiscourseGivesWayToAForum", Forum::PhpBB, profile("discourse", 32000),
                 profile("phpbb", 60000)},
        MenuCase{"GenericKeepsAForumsLimitAsCustom", Forum::Generic,
                 profile("smf", 777, {false, 2}), profile("custom", 777, {false, 2})},
        MenuCase{"GenericLeavesOtherProfiles", Forum::Generic, profile("discourse", 32000),
                 profile("discourse", 32000)},
        MenuCase{"GenericLeavesNoLimit", Forum::Generic, none, none}),
    [](const auto &entry) { return std::string(entry.param.rule); });

struct DialogCase
{
    const char *rule;
    postlimit::Choice chosen;
    Forum before, after;
};

class LimitToForum : public ::testing::TestWithParam<DialogCase>
{
};

TEST_P(LimitToForum, FollowsTheLengthDialog)
{
    EXPECT_EQ(forumlimit::forumForLimit(GetParam().chosen, GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LimitToForum,
    ::testing::Values(
        DialogCase{"AForumsProfileChoosesIt", profile("mybb", 100), Forum::PhpBB, Forum::MyBB},
        DialogCase{"DiscourseIsGeneric", profile("discourse", 32000), Forum::Smf, Forum::Generic},
        DialogCase{"CustomIsGeneric", profile("custom", 10), Forum::PhpBB, Forum::Generic},
        DialogCase{"NoLimitKeepsTheForum", none, Forum::Smf, Forum::Smf}),
    [](const auto &entry) { return std::string(entry.param.rule); });

TEST(ForumProfiles, EveryForumButGenericHasItsOwn)
{
    for (Forum forum : allForums) {
        const ForumProfile *own = findForumProfile(forumKey(forum));
        EXPECT_EQ(own != nullptr, forum != Forum::Generic) << forumKey(forum).toStdString();
        if (own) {
            EXPECT_EQ(forumlimit::forumOfProfile(QString::fromLatin1(own->key)), forum);
        }
    }
    EXPECT_EQ(forumlimit::forumOfProfile(u"discourse"), std::nullopt);
    EXPECT_EQ(forumlimit::forumOfProfile(u"generic"), std::nullopt);
}

} // namespace
