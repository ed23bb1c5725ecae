#pragma once

#include <QString>
#include <QStringList>

#include <random>

namespace quorvane::bench {

// A forum post of about `size` characters as people write them: paragraphs
// with CR LF line breaks, every tag family in mixed case, smilies, quotes,
// code with brackets of its own, lists, links, a few non-ASCII letters and
// stray brackets.
inline QString realisticPost(qsizetype size, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    static const QStringList words = {
        "the",
        "forum",
        "post",
        "and",
        "a",
        "of",
        "to",
        "in",
        "it",
        "is",
        "was",
        "for",
        "on",
        "that",
        "with",
        "thanks",
        "reply",
        "thread",
        "update",
        "version",
        "settings",
        "driver",
        "problem",
        "works",
        "fine",
        "again",
        "after",
        "install",
        "please",
        "help",
        "question",
        "answer",
        "I",
        "you",
        "we",
        "they",
        "should",
        "could",
        "would",
        "really",
        "never",
        "always",
        "because",
        "when",
        "there",
        "here",
        "Windows",
        "Linux",
        "build",
        "error",
        QStringLiteral("caf\u00e9"),
        QStringLiteral("na\u00efve"),
        "12:30",
        "v2.1",
        "e.g.",
        "(see",
        "above)",
        "[1]",
        "[sic]",
        "x[2]",
        "edit:",
        "ok;",
    };
    static const QStringList smilies = {":)", ";)",     ":D",         ":p",    ":(",
                                        ":o", ":cool:", ":rolleyes:", ":mad:", ":eek:"};
    static const QStringList fonts = {"Arial",         "Verdana",         "Tahoma", "Courier New",
                                      "Comic Sans MS", "Times New Roman", "Georgia"};
    static const QStringList colors = {"Red", "Blue", "Green", "Navy", "Orange", "Gray", "Purple"};

    auto sentence = [&]() {
        QString s;
        const int count = 6 + below(14);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                s += u' ';
            QString w = words[below(int(words.size()))];
            switch (below(40)) {
            case 0:
                w = "[B]" + w + "[/B]";
                break;
            case 1:
                w = "[i]" + w + "[/i]";
                break;
            case 2:
                w = "[U]" + w + "[/U]";
                break;
            case 3:
                w = "[Color=" + colors[below(int(colors.size()))] + "]" + w + "[/Color]";
                break;
            case 4:
                w = "[Size=" + QString::number(1 + below(7)) + "]" + w + "[/Size]";
                break;
            case 5:
                w = "[Font=" + fonts[below(int(fonts.size()))] + "]" + w + "[/Font]";
                break;
            case 6:
                w += u' ' + smilies[below(int(smilies.size()))];
                break;
            case 7:
                w = "[URL=http://example.org/" + w + "]" + w + "[/URL]";
                break;
            case 8:
                w = "[HIGHLIGHT]" + w + "[/HIGHLIGHT]";
                break;
            case 9:
                if (below(8) == 0)
                    w += QStringLiteral(" \U0001F600");
                break;
            default:
                break;
            }
            s += w;
        }
        return s + (below(5) == 0 ? QStringLiteral("! ") : QStringLiteral(". "));
    };

    QString post;
    post.reserve(size + 1024);
    while (post.size() < size) {
        switch (below(12)) {
        case 0:
            post += "[QUOTE]" + sentence() + sentence() + "[/QUOTE]\r\n";
            break;
        case 1:
            post += "[CODE]for (i = 0; i < n; i++)\r\n    a[i] = b[j] + map[\"key\"];\r\n"
                    "[/CODE]\r\n";
            break;
        case 2: {
            const bool ordered = below(2) == 0;
            post += ordered ? "[LIST=1]\r\n" : "[LIST]\r\n";
            for (int i = 0, n = 2 + below(4); i < n; ++i)
                post += "[*]" + sentence() + "\r\n";
            post += "[/LIST]\r\n";
            break;
        }
        case 3:
            post += "[CENTER][IMG]http://example.org/pic" + QString::number(below(100)) +
                    ".png[/IMG][/CENTER]\r\n";
            break;
        case 4:
            post += "[INDENT]" + sentence() +
                    "[/INDENT]\r\n[EMAIL=me@example.org]mail me[/EMAIL]"
                    "\r\n";
            break;
        case 5:
            post += "[right]" + sentence() + "[/right]\r\n";
            break;
        default: {
            for (int i = 0, n = 2 + below(5); i < n; ++i)
                post += sentence();
            post += "\r\n\r\n";
            break;
        }
        }
    }
    post.truncate(size);
    if (!post.isEmpty() && post.back().isHighSurrogate())
        post.chop(1);
    return post;
}

} // namespace quorvane::bench
