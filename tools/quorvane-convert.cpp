// quorvane-convert: the preview page, the stripped text or the plain text of a
// document, for scripts and batch work, without opening a window.
//
// Every mode is one row of kModes (its option, its usage and help, how its
// input is read and the core function the post goes to) and every option one
// row of kOptions; the usage, the help and the usage errors are made from
// them. A new mode is a row and a run function.

#include "conversion/previewpage.h"
#include "conversion/stripper.h"
#include "documents/documentfile.h"
#include "forum/customtags.h"
#include "forum/forumadapt.h"
#include "forum/forumlength.h"
#include "forum/forumpage.h"
#include "import/importformat.h"
#include "platform/appinfo.h"
#include "platform/paths.h"
#include "settings/editorformat.h"
#include "spelling/checkreport.h"
#include "spelling/speller.h"
#include "split/postsplitter.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

namespace {

// What the options asked for, filled in as they are read.
struct Request
{
    QString file;
    bool fileGiven = false;
    QString programDir;
    QString lang;
    bool noSpelling = false;
    bool noSuggestions = false;
    quorvane::SplitOptions split;
    std::unique_ptr<quorvane::Speller> speller;
    quorvane::Forum forum = quorvane::Forum::Generic;
    QString tagsFile; // --tags: a board's custom tags
    std::shared_ptr<const quorvane::ForumTagSet> tags;
};

int usageError(const QByteArray &problem);

// What a run function returns when standard output could not be written.
constexpr int kNotWritten = -1;

bool writeOut(QByteArrayView bytes)
{
    return std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

int writeLines(const QString &text)
{
    return writeOut((text + QStringLiteral("\r\n")).toUtf8()) ? 0 : kNotWritten;
}

quorvane::KnownTags forumTags(const Request &request)
{
    quorvane::KnownTags known(quorvane::editorformat::forumTagNames());
    if (request.tags)
        known.addBoardTags(request.tags->customNames, request.tags->singleNames,
                           request.tags->dialect);
    return known;
}

// The --tags file, read whole before the post: a malformed one is refused
// with its line. Installed for the forum, so its pages render the tags; the
// preview page of Generic has none, and a check without a forum checks the
// values by phpBB's rules (the form the file is written in).
bool loadTags(Request &request)
{
    const quorvane::CustomTagsRead read = quorvane::readCustomTagsFile(request.tagsFile);
    if (!read.ok()) {
        const QByteArray where =
            read.error->line > 0 ? ':' + QByteArray::number(read.error->line) : QByteArray();
        std::fprintf(stderr, "quorvane-convert: %s%s: %s\n", qPrintable(request.tagsFile),
                     where.constData(), qPrintable(read.error->reason));
        return false;
    }
    const quorvane::Forum forum =
        request.forum == quorvane::Forum::Generic ? quorvane::Forum::PhpBB : request.forum;
    request.tags =
        quorvane::makeForumTagSet(forum, read.tags, quorvane::editorformat::forumTagNames());
    if (request.forum != quorvane::Forum::Generic)
        quorvane::installForumTagSet(request.tags);
    return true;
}

// A check that silently left spelling out would tell a script "no problems"
// about words nobody looked at: no dictionary is an error.
bool loadSpeller(Request &request)
{
    if (request.noSpelling)
        return true;
    const std::vector<quorvane::Dictionary> installed = quorvane::Speller::installedDictionaries();
    if (request.lang.isEmpty())
        request.lang = quorvane::Speller::defaultTag(installed);
    QString error;
    if (!request.lang.isEmpty())
        request.speller = quorvane::Speller::load(request.lang, &error);
    if (request.speller)
        return true;
    QStringList tags;
    for (const quorvane::Dictionary &dictionary : installed)
        tags.append(dictionary.tag);
    std::fprintf(stderr,
                 "quorvane-convert: %s Installed: %s. Choose one with --lang, or leave spelling "
                 "out with --no-spelling.\n",
                 request.lang.isEmpty() ? "No dictionary for the system's language is installed."
                                        : qPrintable(error),
                 tags.isEmpty() ? "none" : qPrintable(tags.join(QStringLiteral(", "))));
    return false;
}

// The post as it was read, with CR LF line breaks.
int writeText(Request &, const QString &, const QString &text)
{
    return writeLines(text);
}

// The preview page, made in blocks as it is written: a large page is never
// held whole.
int writePage(Request &request, const QString &, const QString &text)
{
    if (request.programDir.isEmpty())
        request.programDir = quorvane::programDataDir();
    return quorvane::streamPreviewPage(text, request.programDir, writeOut) ? 0 : kNotWritten;
}

// A mode: the option that chooses it and what it does with the post. A run
// function returns the exit status, or kNotWritten.
struct Mode
{
    const char *option = "";     // empty for the preview page, written when no mode is given
    const char *value = nullptr; // the name of the option's value, or nullptr for none
    const char *synopsis = "";   // its usage line between the program's name and [FILE]
    const char *help = "";       // lines after the option in --help
    const char *options = "";    // the options that go with it, space-separated
    // Reads the option's value; returns the usage error or nullptr.
    const char *(*readValue)(Request &request, const QByteArray &value) = nullptr;
    // nullptr: the document as File > Open reads it.
    quorvane::DocumentDecoder (*decoder)() = nullptr;
    const char *stdinName = "standard input"; // the input's name when it is standard input
    int failure = 1; // the status when the input cannot be read or the output written
    bool (*prepare)(Request &request) = nullptr; // what must work before the input is read
    int (*run)(Request &request, const QString &name, const QString &text) = nullptr;
};

const Mode kModes[] = {
    {.synopsis = "[--html] [--forum NAME [--tags FILE]] [--program-dir DIR]",
     .options = "--html --forum --program-dir --tags",
     .run =
         [](Request &request, const QString &name, const QString &text) {
             if (request.forum == quorvane::Forum::Generic)
                 return writePage(request, name, text);
             const QString html = quorvane::renderForumHtml(request.forum, text);
             return writeOut((html + u'\n').toUtf8()) ? 0 : kNotWritten;
         }},
    {.option = "--strip",
     .synopsis = "--strip",
     .help = "the post with its mark-up taken out",
     .run = [](Request &, const QString &,
               const QString &text) { return writeLines(quorvane::stripFormatting(text)); }},
    {.option = "--text",
     .synopsis = "--text",
     .help = "the post as the editor holds it",
     .run = writeText},
    {.option = "--check",
     .synopsis = "--check [--forum NAME] [--tags FILE] [--lang TAG | --no-spelling] "
                 "[--no-suggestions]",
     .help = "the post's problems, the forum's warnings and misspellings,\none a line "
             "(exit 1 when any)",
     .options = "--forum --tags --lang --no-spelling --no-suggestions",
     .stdinName = "<stdin>",
     .failure = 2,
     .prepare = loadSpeller,
     .run =
         [](Request &request, const QString &name, const QString &text) {
             quorvane::SuggestionBudget budget;
             budget.suggest = !request.noSuggestions;
             qsizetype unsuggested = 0;
             const qsizetype problems =
                 quorvane::writeCheckReport(name, text, forumTags(request), request.speller.get(),
                                            writeOut, budget, &unsuggested, request.forum);
             if (unsuggested > 0)
                 std::fprintf(stderr,
                              "quorvane-convert: suggestions stopped after %lld s; %lld later "
                              "misspellings are listed without them (--no-suggestions leaves "
                              "them all out)\n",
                              static_cast<long long>(budget.time.count() / 1000),
                              static_cast<long long>(unsuggested));
             return problems < 0 ? kNotWritten : problems > 0 ? 1 : 0;
         }},
    {.option = "--from-html",
     .synopsis = "--from-html",
     .help = "BBCode made from an HTML document",
     .decoder = [] { return quorvane::importDecoder(quorvane::ImportFormat::Html); },
     .run = writeText},
    {.option = "--from-rtf",
     .synopsis = "--from-rtf",
     .help = "BBCode made from a rich-text document",
     .decoder = [] { return quorvane::importDecoder(quorvane::ImportFormat::Rtf); },
     .run = writeText},
    {.option = "--split",
     .value = "LIMIT",
     .synopsis = "--split LIMIT [--count tags|text] [--break 1|2 | --forum NAME]",
     .help = "the post cut into parts of at most LIMIT characters",
     .options = "--count --break --forum",
     .readValue = [](Request &request, const QByteArray &value) -> const char * {
         bool number = false;
         request.split.limit = value.toLongLong(&number);
         return number && request.split.limit > 0 ? nullptr : "--split needs a limit above 0";
     },
     .prepare =
         [](Request &request) {
             if (request.forum != quorvane::Forum::Generic)
                 request.split.rule =
                     quorvane::forumLengthRule(quorvane::dialect(request.forum).length.counting);
             return true;
         },
     .run =
         [](Request &request, const QString &name, const QString &text) {
             QString error;
             const int status = quorvane::writeSplitPost(name, text, request.split,
                                                         forumTags(request), writeOut, error);
             if (status == 1)
                 std::fprintf(stderr, "quorvane-convert: %s\n", qPrintable(error));
             return status == 2 ? kNotWritten : status;
         }},
    {.option = "--length",
     .synopsis = "--length --forum NAME [--tags FILE]",
     .help = "the post's length as that forum counts it and its limit,\n"
             "\"COUNTED LIMIT\" (exit 1 when over)",
     .options = "--forum --tags",
     .failure = 2,
     .prepare =
         [](Request &request) {
             if (request.forum != quorvane::Forum::Generic)
                 return true;
             usageError("--length needs --forum phpbb, smf or mybb");
             return false;
         },
     .run =
         [](Request &request, const QString &, const QString &text) {
             const quorvane::ForumLength length = quorvane::forumLength(request.forum, text);
             const QByteArray line =
                 QByteArray::number(length.counted) + ' ' + QByteArray::number(length.limit) + '\n';
             return !writeOut(line) ? kNotWritten : length.fits() ? 0 : 1;
         }},
    {.option = "--adapt",
     .synopsis = "--adapt --forum NAME",
     .help = "the post adapted for that forum; what changed on\nstandard error, one a line",
     .options = "--forum",
     .failure = 2,
     .prepare =
         [](Request &request) {
             if (request.forum != quorvane::Forum::Generic)
                 return true;
             usageError("--adapt needs --forum phpbb, smf or mybb");
             return false;
         },
     .run =
         [](Request &request, const QString &name, const QString &text) {
             QString post = text;
             post.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
             const quorvane::AdaptedPost adapted =
                 quorvane::adaptPost(quorvane::dialect(request.forum), post);
             for (const quorvane::AdaptChange &change : adapted.changes)
                 std::fprintf(stderr, "%s:%d: %s\n", qPrintable(name), change.line,
                              qPrintable(change.description));
             // Exactly the post: a line break added at its end would show on SMF.
             return writeOut(adapted.text.toUtf8()) ? 0 : kNotWritten;
         }},
};

// An option that is not a mode: it goes with the modes that list it.
struct Option
{
    const char *name = "";
    const char *value = nullptr; // the name of its value, or nullptr when it takes none
    bool joined = false;         // the value may follow an "=" too
    const char *help = "";
    // Reads the value (empty when missing); returns the usage error or nullptr.
    const char *(*read)(Request &request, const QByteArray &value) = nullptr;
    const char *notWith = nullptr;  // an option it cannot be given with
    const char *misplaced = "";     // the usage error when the mode does not take it
    const char *excluded = nullptr; // the one when given with notWith; nullptr: misplaced
};

const Option kOptions[] = {
    {.name = "--html",
     .help = "the post's HTML: the preview page, or with --forum the\nHTML that forum makes",
     .read = [](Request &, const QByteArray &) -> const char * { return nullptr; },
     .misplaced = "--html and --forum go with the page only"},
    {.name = "--forum",
     .value = "NAME",
     .help = "the forum: generic (the preview page), phpbb, smf, mybb;\n"
             "with --check, that forum's warnings;\n"
             "with --length and --split, the forum counting;\n"
             "with --adapt, the forum adapted for",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         const std::optional<quorvane::Forum> forum =
             quorvane::forumFromKey(QString::fromLocal8Bit(value));
         if (!forum) {
             static const QByteArray known =
                 "--forum is one of " + quorvane::forumKeyList().toUtf8();
             return known.constData();
         }
         request.forum = *forum;
         return nullptr;
     },
     .misplaced = "--forum goes with the page, --check, --length, --split and --adapt only"},
    {.name = "--tags",
     .value = "FILE",
     .help = "with the page, --check and --length: a board's custom tags,\n"
             "each its usage line, its HTML line and a blank line",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         request.tagsFile = QString::fromLocal8Bit(value);
         return value.isEmpty() ? "--tags needs a file" : nullptr;
     },
     .misplaced = "--tags goes with the page, --check and --length only"},
    {.name = "--program-dir",
     .value = "DIR",
     .joined = true,
     .help = "the folder the smiley pictures are found under",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         if (!request.programDir.isEmpty())
             return "--program-dir given twice";
         request.programDir = QString::fromLocal8Bit(value);
         return value.isEmpty() ? "--program-dir needs a folder" : nullptr;
     },
     .misplaced = "--program-dir goes with the page only"},
    {.name = "--lang",
     .value = "TAG",
     .help = "with --check: the spelling dictionary, such as en_US",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         request.lang = QString::fromLocal8Bit(value);
         return value.isEmpty() ? "--lang needs a dictionary tag such as en_US" : nullptr;
     },
     .notWith = "--no-spelling",
     .misplaced = "--lang goes with --check, without --no-spelling"},
    {.name = "--no-spelling",
     .help = "with --check: leave spelling out",
     .read = [](Request &request, const QByteArray &) -> const char * {
         request.noSpelling = true;
         return nullptr;
     },
     .misplaced = "--no-spelling goes with --check only"},
    {.name = "--no-suggestions",
     .help = "with --check: misspellings without suggestions (faster)",
     .read = [](Request &request, const QByteArray &) -> const char * {
         request.noSuggestions = true;
         return nullptr;
     },
     .misplaced = "--no-suggestions goes with --check only"},
    {.name = "--count",
     .value = "tags|text",
     .help = "with --split: count the tags too, or the text only",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         request.split.rule.countTags = value == "tags";
         return value == "tags" || value == "text" ? nullptr : "--count is tags or text";
     },
     .notWith = "--forum",
     .misplaced = "--count and --break go with --split only",
     .excluded = "--count and --break do not go with --forum"},
    {.name = "--break",
     .value = "1|2",
     .help = "with --split: a line break counts as 1 or 2",
     .read = [](Request &request, const QByteArray &value) -> const char * {
         request.split.rule.lineBreak = value.toInt();
         return value == "1" || value == "2" ? nullptr : "--break is 1 or 2";
     },
     .notWith = "--forum",
     .misplaced = "--count and --break go with --split only",
     .excluded = "--count and --break do not go with --forum"},
};

bool takes(const Mode &mode, std::string_view option)
{
    const std::string_view options = mode.options;
    for (size_t start = 0; start < options.size();) {
        const size_t end = std::min(options.find(' ', start), options.size());
        if (options.substr(start, end - start) == option)
            return true;
        start = end + 1;
    }
    return false;
}

// "--a, --b and --c": the modes that take no value.
QByteArray plainModeList()
{
    QByteArrayList names;
    for (const Mode &mode : kModes) {
        if (*mode.option && !mode.value)
            names.append(mode.option);
    }
    const QByteArray last = names.takeLast();
    return names.join(", ") + " and " + last;
}

QByteArray usage()
{
    QByteArray text;
    for (const Mode &mode : kModes) {
        text += text.isEmpty() ? "usage: " : "       ";
        text += QByteArray("quorvane-convert ") + mode.synopsis + " [FILE]\n";
    }
    return text;
}

// One line of --help: the option and its value in a column, the help beside it.
QByteArray helpLine(const QByteArray &option, const QByteArray &help)
{
    constexpr qsizetype kColumn = 20;
    const QByteArray indent(kColumn, ' ');
    QByteArray line = "  " + option + ' ';
    line = line.size() <= kColumn ? line.leftJustified(kColumn, ' ') : line + '\n' + indent;
    return line + QByteArray(help).replace("\n", "\n" + indent) + '\n';
}

// "--split LIMIT", "--strip".
QByteArray withValue(const char *option, const char *value)
{
    return value ? QByteArray(option) + ' ' + value : QByteArray(option);
}

QByteArray help()
{
    QByteArray text = "\n"
                      "Writes the preview page of a BBCode post (FILE, or standard input when it\n"
                      "is missing or -) to standard output, or instead:\n";
    for (const Mode &mode : kModes) {
        if (*mode.option)
            text += helpLine(withValue(mode.option, mode.value), mode.help);
    }
    text += '\n';
    for (const Option &option : kOptions)
        text += helpLine(withValue(option.name, option.value), option.help);
    text += helpLine("-h, --help", "show this help and exit");
    text += helpLine("-v, --version", "show the version and exit");
    return text + "\nSee quorvane-convert(1) for more.\n";
}

int usageError(const QByteArray &problem)
{
    std::fprintf(stderr, "quorvane-convert: %s\n%s", problem.constData(), usage().constData());
    return 2;
}

// The post as the mode reads it, or the reason it could not be read.
quorvane::ReadResult readInput(const Mode &mode, const Request &request, bool fromStdin)
{
    const quorvane::DocumentDecoder decode =
        mode.decoder ? mode.decoder() : quorvane::DocumentDecoder(quorvane::readDocumentBytes);
    if (!fromStdin)
        return quorvane::readDocumentFile(request.file, decode);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        quorvane::ReadResult failed;
        failed.error = in.errorString();
        return failed;
    }
    return quorvane::readDocumentDevice(in, decode);
}

// What a command line that does not go on to a mode ends with.
constexpr int kGoOn = -1;

// Reads the arguments in order into the mode and the request; returns kGoOn,
// or the exit status after --help, --version or a usage error.
int readArguments(int argc, char **argv, const Mode *&mode, Request &request)
{
    QByteArrayList given; // the options read
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        const Mode *chosen = nullptr;
        const Option *option = nullptr;
        for (const Mode &row : kModes) {
            if (!optionsEnded && *row.option && arg == row.option)
                chosen = &row;
        }
        for (const Option &row : kOptions) {
            if (!optionsEnded &&
                (arg == row.name || (row.joined && arg.startsWith(QByteArray(row.name) + '='))))
                option = &row;
        }

        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::fputs(usage().constData(), stdout);
            std::fputs(help().constData(), stdout);
            return 0;
        } else if (!optionsEnded && (arg == "--version" || arg == "-v")) {
            std::printf("quorvane-convert %s\n", quorvane::appinfo::version);
            return 0;
        } else if (chosen) {
            if (*mode->option) {
                return usageError(
                    chosen->value ? chosen->option + (" goes with no other of " + plainModeList())
                                  : "only one of " + plainModeList() + " may be given");
            }
            if (chosen->readValue) {
                if (const char *error = chosen->readValue(request, i + 1 < argc ? argv[i + 1] : ""))
                    return usageError(error);
                ++i;
            }
            mode = chosen;
        } else if (option) {
            // The value is what follows "=", or the next argument (empty when
            // there is none).
            QByteArray value;
            if (option->value && arg.contains('='))
                value = arg.mid(arg.indexOf('=') + 1);
            else if (option->value && i + 1 < argc)
                value = argv[++i];
            if (const char *error = option->read(request, value))
                return usageError(error);
            given.append(option->name);
        } else if (!optionsEnded && arg.size() > 1 && arg.startsWith('-')) {
            return usageError("unknown option " + arg);
        } else {
            if (request.fileGiven)
                return usageError("only one FILE may be given");
            request.file = QString::fromLocal8Bit(arg);
            request.fileGiven = true;
        }
    }
    // An option that excludes another is looked at last: its message names
    // both faults.
    for (const bool excluding : {false, true}) {
        for (const Option &option : kOptions) {
            if (bool(option.notWith) != excluding || !given.contains(option.name))
                continue;
            if (!takes(*mode, option.name))
                return usageError(option.misplaced);
            if (excluding && given.contains(option.notWith))
                return usageError(option.excluded ? option.excluded : option.misplaced);
        }
    }
    return kGoOn;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    const Mode *mode = &kModes[0];
    Request request;
    if (const int status = readArguments(argc, argv, mode, request); status != kGoOn)
        return status;

    if (!request.tagsFile.isEmpty()) {
        // The preview page is the program's own: only a forum's page has them.
        if (!*mode->option && request.forum == quorvane::Forum::Generic)
            return usageError("--tags with the page needs --forum phpbb, smf or mybb");
        if (!loadTags(request))
            return 2;
    }
    if (mode->prepare && !mode->prepare(request))
        return mode->failure;
    const bool fromStdin = !request.fileGiven || request.file == QLatin1String("-");
    const QString name = fromStdin ? QString::fromLatin1(mode->stdinName) : request.file;
    const quorvane::ReadResult document = readInput(*mode, request, fromStdin);
    if (!document.ok) {
        std::fprintf(stderr, "quorvane-convert: %s: %s\n", qPrintable(name),
                     qPrintable(document.error));
        return mode->failure;
    }
    const int status = mode->run(request, name, document.text);
    if (status == kNotWritten || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quorvane-convert: cannot write to standard output\n");
        return mode->failure;
    }
    return status;
}
