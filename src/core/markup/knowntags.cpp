#include "markup/knowntags.h"

#include <array>
#include <cstring>

namespace quorvane {

namespace {

constexpr std::array kBuiltIn{
    TagInfo{"B", TagValue::None, TagRule::Plain},
    TagInfo{"I", TagValue::None, TagRule::Plain},
    TagInfo{"U", TagValue::None, TagRule::Plain},
    TagInfo{"S", TagValue::None, TagRule::Plain},
    TagInfo{"SIZE", TagValue::Required, TagRule::Size},
    TagInfo{"FONT", TagValue::Required, TagRule::FontName},
    TagInfo{"COLOR", TagValue::Required, TagRule::Colour},
    TagInfo{"LEFT", TagValue::None, TagRule::Plain},
    TagInfo{"CENTER", TagValue::None, TagRule::Plain},
    TagInfo{"RIGHT", TagValue::None, TagRule::Plain},
    TagInfo{"INDENT", TagValue::None, TagRule::Plain},
    TagInfo{"HIGHLIGHT", TagValue::None, TagRule::Plain},
    TagInfo{"URL", TagValue::Optional, TagRule::Address},
    TagInfo{"EMAIL", TagValue::Optional, TagRule::Address},
    TagInfo{"IMG", TagValue::None, TagRule::Address},
    TagInfo{"QUOTE", TagValue::Optional, TagRule::Plain},
    TagInfo{"CODE", TagValue::None, TagRule::Verbatim},
    TagInfo{"HTML", TagValue::None, TagRule::Verbatim},
    TagInfo{"PHP", TagValue::None, TagRule::Verbatim},
    TagInfo{"LIST", TagValue::Optional, TagRule::List},
    TagInfo{"*", TagValue::None, TagRule::ListItem},
    TagInfo{"SPOILER", TagValue::Optional, TagRule::Plain},
    TagInfo{"STRIKE", TagValue::None, TagRule::Plain},
    TagInfo{"SUB", TagValue::None, TagRule::Plain},
    TagInfo{"SUP", TagValue::None, TagRule::Plain},
    TagInfo{"TABLE", TagValue::None, TagRule::Plain},
    TagInfo{"TR", TagValue::None, TagRule::Plain},
    TagInfo{"TD", TagValue::None, TagRule::Plain},
    TagInfo{"YOUTUBE", TagValue::None, TagRule::Plain},
    TagInfo{"NOPARSE", TagValue::None, TagRule::Verbatim},
};

constexpr TagInfo kUserTag{"", TagValue::Optional, TagRule::Plain};
constexpr TagInfo kUserSingle{"", TagValue::Optional, TagRule::Single};

char16_t upper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

bool equalsFolded(QStringView name, const char *upperName)
{
    // The caller has matched the length.
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (upper(name[i].unicode()) != char16_t(upperName[i]))
            return false;
    }
    return true;
}

} // namespace

KnownTags::KnownTags(const QStringList &userNames)
{
    for (const QString &name : userNames)
        addUserName(name);
}

void KnownTags::addUserName(const QString &name)
{
    const QString folded = name.trimmed().toUpper();
    if (!isValidName(folded))
        return;
    // The index folds letter by letter, as find() does.
    QString key = name.trimmed();
    for (QChar &c : key)
        c = c.toUpper();
    if (!m_index.contains(key)) {
        m_index.insert(key, int(m_userNames.size()));
        m_userNames.append(folded);
    }
}

void KnownTags::addBoardTags(const QStringList &names, const QStringList &singles,
                             std::shared_ptr<const Dialect> rules)
{
    m_rules = std::move(rules);
    for (const QString &name : names) {
        int id = find(name);
        if (id == unknown) {
            addUserName(name);
            id = find(name);
        }
        if (id == unknown)
            continue;
        m_boardIds.insert(id);
        // A built-in tag keeps its own rule.
        if (id >= builtInCount() && singles.contains(name, Qt::CaseInsensitive))
            m_singles.insert(id);
    }
}

int KnownTags::builtInCount()
{
    return int(kBuiltIn.size());
}

int KnownTags::builtIn(const char *name)
{
    for (int i = 0; i < builtInCount(); ++i) {
        if (std::strcmp(kBuiltIn[size_t(i)].name, name) == 0)
            return i;
    }
    return unknown;
}

int KnownTags::find(QStringView name) const
{
    if (name.isEmpty() || name.size() > 30)
        return unknown;
    static const std::array<qsizetype, kBuiltIn.size()> lengths = [] {
        std::array<qsizetype, kBuiltIn.size()> out{};
        for (size_t i = 0; i < kBuiltIn.size(); ++i)
            out[i] = qsizetype(std::strlen(kBuiltIn[i].name));
        return out;
    }();
    for (int i = 0; i < builtInCount(); ++i) {
        if (lengths[size_t(i)] == name.size() && equalsFolded(name, kBuiltIn[size_t(i)].name))
            return i;
    }
    if (m_userNames.isEmpty())
        return unknown;
    char16_t folded[30]; // names are 30 characters at most
    for (qsizetype i = 0; i < name.size(); ++i)
        folded[i] = name[i].toUpper().unicode();
    const auto it = m_index.constFind(
        QString::fromRawData(reinterpret_cast<const QChar *>(folded), name.size()));
    return it == m_index.cend() ? unknown : builtInCount() + *it;
}

const TagInfo &KnownTags::info(int id) const
{
    if (id < builtInCount())
        return kBuiltIn[size_t(id)];
    return m_singles.contains(id) ? kUserSingle : kUserTag;
}

bool KnownTags::isValidName(QStringView name)
{
    if (name.isEmpty() || name.size() > 30 || !name.front().isLetter())
        return false;
    for (QChar c : name) {
        if (!c.isLetterOrNumber() && c != u'_' && c != u'-')
            return false;
    }
    return true;
}

} // namespace quorvane
