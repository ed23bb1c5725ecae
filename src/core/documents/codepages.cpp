#include "documents/codepages.h"

#include <QStringDecoder>

#include <map>
#include <memory>
#include <mutex>

namespace quorvane::codepages {

namespace {

// Windows-1252 is built in: it is the fallback for everything, so it must not
// depend on which converters this Qt was built with. The five bytes the page
// leaves undefined keep their C1 code points, as browsers do.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

ByteTable makeWindows1252()
{
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        table[b] = (b >= 0x80 && b < 0xA0) ? kWindows1252High[b - 0x80] : char16_t(b);
    }
    return table;
}

const ByteTable &windows1252Table()
{
    static const ByteTable table = makeWindows1252();
    return table;
}

bool isMultiByte(int codePage)
{
    switch (codePage) {
    case 932:   // Japanese (Shift JIS)
    case 936:   // Simplified Chinese (GBK)
    case 949:   // Korean
    case 950:   // Traditional Chinese (Big5)
    case 1361:  // Korean (Johab)
    case 20932: // Japanese (EUC)
    case 51949: // Korean (EUC)
    case 54936: // GB 18030
    case 65001: // UTF-8
        return true;
    default:
        return false;
    }
}

// The code pages documents are written in, by their converter names. Only
// these get a converter: any other number reads as Windows-1252, so a file
// cannot make the reader build converters without end.
QByteArray converterName(int codePage)
{
    switch (codePage) {
    case 437:
    case 737:
    case 775:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
        return "IBM" + QByteArray::number(codePage);
    case 874:
    case 1250:
    case 1251:
    case 1253:
    case 1254:
    case 1255:
    case 1256:
    case 1257:
    case 1258:
        return "windows-" + QByteArray::number(codePage);
    case 932:
        return "windows-31j";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-centraleurroman";
    case 10081:
        return "x-mac-turkish";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 20932:
        return "EUC-JP";
    case 51949:
        return "EUC-KR";
    case 54936:
        return "GB18030";
    case 65001:
        return "UTF-8";
    default:
        if (codePage >= 28591 && codePage <= 28606) {
            return "ISO-8859-" + QByteArray::number(codePage - 28590);
        }
        return {};
    }
}

std::unique_ptr<QStringDecoder> makeDecoder(int codePage)
{
    const QByteArray name = converterName(codePage);
    if (name.isEmpty()) {
        return nullptr;
    }
    auto decoder =
        std::make_unique<QStringDecoder>(name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder->isValid()) {
        return nullptr;
    }
    return decoder;
}

// Some converters mark bytes they cannot map with the control character SUB
// (U+001A) rather than U+FFFD; text readers drop control characters, and the
// mark must not vanish with them.
constexpr char16_t kSubstitute = 0x001A;

QString withReplacementCharacter(QString decoded, QByteArrayView bytes)
{
    if (decoded.contains(QChar(kSubstitute)) && !bytes.contains(char(kSubstitute))) {
        decoded.replace(QChar(kSubstitute), QChar(QChar::ReplacementCharacter));
    }
    return decoded;
}

ByteTable makeTable(QStringDecoder &decoder)
{
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString s = decoder.decode(QByteArrayView(&byte, 1));
        const bool mapped = s.size() == 1 && (s.at(0) != QChar(kSubstitute) || b == kSubstitute);
        table[b] = mapped ? char16_t(s.at(0).unicode()) : char16_t(QChar::ReplacementCharacter);
    }
    return table;
}

// Converters and tables are made once per code page and kept for the run.
struct Registry
{
    std::mutex mutex;
    std::map<int, std::unique_ptr<ByteTable>> tables;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders;

    QStringDecoder *decoder(int codePage)
    {
        auto it = decoders.find(codePage);
        if (it == decoders.end()) {
            it = decoders.emplace(codePage, makeDecoder(codePage)).first;
        }
        return it->second.get();
    }
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

} // namespace

const ByteTable *singleByteTable(int codePage)
{
    if (codePage == Windows1252 || codePage <= 0) {
        return &windows1252Table();
    }
    if (isMultiByte(codePage)) {
        return nullptr;
    }
    if (converterName(codePage).isEmpty()) {
        return &windows1252Table();
    }
    Registry &reg = registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.tables.find(codePage);
    if (it == reg.tables.end()) {
        QStringDecoder *decoder = reg.decoder(codePage);
        auto table = decoder ? std::make_unique<ByteTable>(makeTable(*decoder)) : nullptr;
        it = reg.tables.emplace(codePage, std::move(table)).first;
    }
    return it->second ? it->second.get() : &windows1252Table();
}

QString decodeWindows1252(QByteArrayView bytes)
{
    const ByteTable &table = windows1252Table();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        dst[i] = table[uchar(bytes[i])];
    }
    return out;
}

QString decode(int codePage, QByteArrayView bytes)
{
    if (const ByteTable *table = isMultiByte(codePage) ? nullptr : singleByteTable(codePage)) {
        QString out(bytes.size(), Qt::Uninitialized);
        char16_t *dst = reinterpret_cast<char16_t *>(out.data());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            dst[i] = (*table)[uchar(bytes[i])];
        }
        return out;
    }
    if (codePage == 65001) {
        return QString::fromUtf8(bytes);
    }
    if (converterName(codePage).isEmpty()) {
        return decodeWindows1252(bytes);
    }
    Registry &reg = registry();
    std::lock_guard lock(reg.mutex);
    QStringDecoder *decoder = reg.decoder(codePage);
    if (!decoder) {
        return decodeWindows1252(bytes);
    }
    // A stateless converter drops a lead byte that ends the input. A line
    // feed is never the second byte of a pair, so behind it the unfinished
    // pair becomes U+FFFD like any other bad sequence.
    QByteArray terminated = bytes.toByteArray();
    terminated.append('\n');
    QString out = decoder->decode(terminated);
    if (out.endsWith(QChar(u'\n'))) {
        out.chop(1);
    }
    return withReplacementCharacter(std::move(out), bytes);
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return 0;
    }
}

} // namespace quorvane::codepages
