// quorvane-convert: the preview page, the stripped text or the plain text of a
// document, for scripts and batch work, without opening a window.

#include "conversion/previewpage.h"
#include "conversion/stripper.h"
#include "documents/documentfile.h"
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

#include <cstdio>
#include <memory>

namespace {

constexpr char kUsage[] = "usage: quorvane-convert [--program-dir DIR] [FILE]\n"
                          "       quorvane-convert --strip [FILE]\n"
                          "       quorvane-convert --text [FILE]\n"
                          "       quorvane-convert --check [--lang TAG | --no-spelling] "
                          "[--no-suggestions] [FILE]\n"
                          "       quorvane-convert --from-html [FILE]\n"
                          "       quorvane-convert --from-rtf [FILE]\n"
                          "       quorvane-convert --split LIMIT [--count tags|text] [--break 1|2] "
                          "[FILE]\n";

// What --help adds below the usage.
constexpr char kHelp[] =
    "\n"
    "Writes the preview page of a BBCode post (FILE, or standard input when it\n"
    "is missing or -) to standard output, or instead:\n"
    "  --strip           the post with its mark-up taken out\n"
    "  --text            the post as the editor holds it\n"
    "  --check           the post's problems and misspellings, one a line\n"
    "                    (exit 1 when any)\n"
    "  --from-html       BBCode made from an HTML document\n"
    "  --from-rtf        BBCode made from a rich-text document\n"
    "  --split LIMIT     the post cut into parts of at most LIMIT characters\n"
    "\n"
    "  --program-dir DIR the folder the smiley pictures are found under\n"
    "  --lang TAG        with --check: the spelling dictionary, such as en_US\n"
    "  --no-spelling     with --check: leave spelling out\n"
    "  --no-suggestions  with --check: misspellings without suggestions (faster)\n"
    "  --count tags|text with --split: count the tags too, or the text only\n"
    "  --break 1|2       with --split: a line break counts as 1 or 2\n"
    "  -h, --help        show this help and exit\n"
    "  -v, --version     show the version and exit\n"
    "\n"
    "See quorvane-convert(1) for more.\n";

enum class Mode { Page, Strip, Text, Check, FromHtml, FromRtf, Split };

// The options that choose what is written; at most one is given.
struct ModeOption
{
    const char *name;
    Mode mode;
};
constexpr ModeOption kModeOptions[] = {
    {"--strip", Mode::Strip},        {"--text", Mode::Text},        {"--check", Mode::Check},
    {"--from-html", Mode::FromHtml}, {"--from-rtf", Mode::FromRtf},
};

const ModeOption *findModeOption(const QString &arg)
{
    for (const ModeOption &option : kModeOptions) {
        if (arg == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

int usageError(const char *problem)
{
    std::fprintf(stderr, "quorvane-convert: %s\n%s", problem, kUsage);
    return 2;
}

bool writeOut(QByteArrayView bytes)
{
    return std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    Mode mode = Mode::Page;
    bool modeGiven = false;
    QString programDir;
    bool programDirGiven = false;
    QString file;
    bool fileGiven = false;
    bool optionsEnded = false;
    bool noSpelling = false;
    bool noSuggestions = false;
    QString lang;
    quorvane::SplitOptions split;
    bool countGiven = false;
    bool breakGiven = false;

    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        } else if (!optionsEnded &&
                   (arg == QLatin1String("--version") || arg == QLatin1String("-v"))) {
            std::printf("quorvane-convert %s\n", quorvane::appinfo::version);
            return 0;
        } else if (const ModeOption *option = optionsEnded ? nullptr : findModeOption(arg)) {
            if (modeGiven)
                return usageError("only one of --strip, --text, --check, --from-html and "
                                  "--from-rtf may be given");
            mode = option->mode;
            modeGiven = true;
        } else if (!optionsEnded && arg == QLatin1String("--split")) {
            if (modeGiven)
                return usageError("--split goes with no other of --strip, --text, --check, "
                                  "--from-html and --from-rtf");
            bool number = false;
            split.limit = i + 1 < argc ? QByteArray(argv[i + 1]).toLongLong(&number) : 0;
            if (!number || split.limit <= 0)
                return usageError("--split needs a limit above 0");
            ++i;
            mode = Mode::Split;
            modeGiven = true;
        } else if (!optionsEnded && arg == QLatin1String("--count")) {
            const QByteArray how = i + 1 < argc ? QByteArray(argv[++i]) : QByteArray();
            if (how != "tags" && how != "text")
                return usageError("--count is tags or text");
            split.rule.countTags = how == "tags";
            countGiven = true;
        } else if (!optionsEnded && arg == QLatin1String("--break")) {
            const QByteArray how = i + 1 < argc ? QByteArray(argv[++i]) : QByteArray();
            if (how != "1" && how != "2")
                return usageError("--break is 1 or 2");
            split.rule.lineBreak = how.toInt();
            breakGiven = true;
        } else if (!optionsEnded && arg == QLatin1String("--no-spelling")) {
            noSpelling = true;
        } else if (!optionsEnded && arg == QLatin1String("--no-suggestions")) {
            noSuggestions = true;
        } else if (!optionsEnded && arg == QLatin1String("--lang")) {
            lang = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
            if (lang.isEmpty())
                return usageError("--lang needs a dictionary tag such as en_US");
        } else if (!optionsEnded && (arg == QLatin1String("--program-dir") ||
                                     arg.startsWith(QLatin1String("--program-dir=")))) {
            if (programDirGiven)
                return usageError("--program-dir given twice");
            if (arg.contains(u'=')) {
                programDir = arg.section(u'=', 1);
            } else {
                if (i + 1 >= argc)
                    return usageError("--program-dir needs a folder");
                programDir = QString::fromLocal8Bit(argv[++i]);
            }
            if (programDir.isEmpty())
                return usageError("--program-dir needs a folder");
            programDirGiven = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.startsWith(u'-')) {
            return usageError(qPrintable(QStringLiteral("unknown option %1").arg(arg)));
        } else {
            if (fileGiven)
                return usageError("only one FILE may be given");
            file = arg;
            fileGiven = true;
        }
    }
    if (programDirGiven && mode != Mode::Page)
        return usageError("--program-dir goes with the page only");
    if (noSpelling && mode != Mode::Check)
        return usageError("--no-spelling goes with --check only");
    if (noSuggestions && mode != Mode::Check)
        return usageError("--no-suggestions goes with --check only");
    if ((countGiven || breakGiven) && mode != Mode::Split)
        return usageError("--count and --break go with --split only");
    if (!lang.isEmpty() && (mode != Mode::Check || noSpelling))
        return usageError("--lang goes with --check, without --no-spelling");

    // A check that silently left spelling out would tell a script "no
    // problems" about words nobody looked at: no dictionary is an error.
    std::unique_ptr<quorvane::Speller> speller;
    if (mode == Mode::Check && !noSpelling) {
        const std::vector<quorvane::Dictionary> installed =
            quorvane::Speller::installedDictionaries();
        if (lang.isEmpty())
            lang = quorvane::Speller::defaultTag(installed);
        QString error;
        if (!lang.isEmpty())
            speller = quorvane::Speller::load(lang, &error);
        if (!speller) {
            QStringList tags;
            for (const quorvane::Dictionary &dictionary : installed)
                tags.append(dictionary.tag);
            std::fprintf(stderr,
                         "quorvane-convert: %s Installed: %s. Choose one with --lang, or "
                         "leave spelling out with --no-spelling.\n",
                         lang.isEmpty() ? "No dictionary for the system's language is installed."
                                        : qPrintable(error),
                         tags.isEmpty() ? "none" : qPrintable(tags.join(QStringLiteral(", "))));
            return 2;
        }
    }

    // Formatted documents are read as BBCode and then written out as text.
    const quorvane::DocumentDecoder decode =
        mode == Mode::FromHtml  ? quorvane::importDecoder(quorvane::ImportFormat::Html)
        : mode == Mode::FromRtf ? quorvane::importDecoder(quorvane::ImportFormat::Rtf)
                                : quorvane::DocumentDecoder(quorvane::readDocumentBytes);
    quorvane::ReadResult document;
    QString name = file;
    if (!fileGiven || file == QLatin1String("-")) {
        name = mode == Mode::Check ? QStringLiteral("<stdin>") : QStringLiteral("standard input");
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            document.error = in.errorString();
        else
            document = quorvane::readDocumentDevice(in, decode);
    } else {
        document = quorvane::readDocumentFile(file, decode);
    }
    if (!document.ok) {
        std::fprintf(stderr, "quorvane-convert: %s: %s\n", qPrintable(name),
                     qPrintable(document.error));
        return mode == Mode::Check ? 2 : 1;
    }

    bool written = true;
    qsizetype problems = 0;
    switch (mode) {
    case Mode::Page:
        if (!programDirGiven)
            programDir = quorvane::programDataDir();
        // Written in blocks as it is made: a large page is never held whole.
        written = quorvane::streamPreviewPage(document.text, programDir,
                                              [](QByteArrayView bytes) { return writeOut(bytes); });
        break;
    case Mode::Strip:
        written =
            writeOut((quorvane::stripFormatting(document.text) + QStringLiteral("\r\n")).toUtf8());
        break;
    case Mode::Text:
    case Mode::FromHtml:
    case Mode::FromRtf:
        written = writeOut((document.text + QStringLiteral("\r\n")).toUtf8());
        break;
    case Mode::Check: {
        quorvane::SuggestionBudget budget;
        budget.suggest = !noSuggestions;
        qsizetype unsuggested = 0;
        problems = quorvane::writeCheckReport(
            name, document.text, quorvane::KnownTags(quorvane::editorformat::forumTagNames()),
            speller.get(), [](QByteArrayView bytes) { return writeOut(bytes); }, budget,
            &unsuggested);
        written = problems >= 0;
        if (unsuggested > 0)
            std::fprintf(
                stderr,
                "quorvane-convert: suggestions stopped after %lld s; %lld later misspellings "
                "are listed without them (--no-suggestions leaves them all out)\n",
                static_cast<long long>(budget.time.count() / 1000),
                static_cast<long long>(unsuggested));
        break;
    }
    case Mode::Split: {
        QString error;
        const int status = quorvane::writeSplitPost(
            name, document.text, split,
            quorvane::KnownTags(quorvane::editorformat::forumTagNames()),
            [](QByteArrayView bytes) { return writeOut(bytes); }, error);
        if (status == 1) {
            std::fprintf(stderr, "quorvane-convert: %s\n", qPrintable(error));
            return 1;
        }
        written = status == 0;
        break;
    }
    }
    written = written && std::fflush(stdout) == 0;
    if (!written) {
        std::fprintf(stderr, "quorvane-convert: cannot write to standard output\n");
        return mode == Mode::Check ? 2 : 1;
    }
    return problems > 0 ? 1 : 0;
}
