#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace quorvane {

// Encodes UTF-16 text, given in pieces, as the preview page's bytes: ASCII as
// it is, every other code point as "&#N;". A surrogate pair split between two
// pieces still gives one reference; a lone surrogate gives "&#65533;".
class AsciiPageWriter
{
public:
    // Takes the bytes written so far; false stops further output.
    using Drain = std::function<bool(QByteArrayView)>;

    // With a drain, the bytes are handed on in blocks of about drainSize
    // instead of being kept.
    explicit AsciiPageWriter(qsizetype expectedSize, Drain drain = {}) : m_drain(std::move(drain))
    {
        grow((m_drain ? std::min(expectedSize, drainSize) : expectedSize) + 16);
    }

    static constexpr qsizetype drainSize = 256 * 1024;

    bool failed() const { return m_failed; }

    void append(const char16_t *d, qsizetype n)
    {
        if (m_drain && m_size >= drainSize) {
            m_failed = m_failed || !m_drain(QByteArrayView(m_out, m_size));
            m_size = 0;
        }
        qsizetype i = 0;
        if (m_pendingHigh != 0 && n > 0) {
            reserveFor(n);
            if (QChar::isLowSurrogate(d[0])) {
                reference(QChar::surrogateToUcs4(m_pendingHigh, d[0]));
                i = 1;
            } else {
                reference(0xFFFD);
            }
            m_pendingHigh = 0;
        }
        // Every character gives at least one byte, so room is made only when
        // a reference makes the output longer than the input.
        reserveFor(n - i);
        char *out = m_out;
        qsizetype w = m_size;
        while (i < n) {
            // Four characters at a time while they are all ASCII.
            while (i + 4 <= n) {
                std::uint64_t four;
                std::memcpy(&four, d + i, sizeof four);
                if (four & 0xFF80FF80FF80FF80u)
                    break;
                out[w] = char(d[i]);
                out[w + 1] = char(d[i + 1]);
                out[w + 2] = char(d[i + 2]);
                out[w + 3] = char(d[i + 3]);
                w += 4;
                i += 4;
            }
            if (i == n)
                break;
            const char16_t c = d[i];
            if (c < 0x80) {
                out[w++] = char(c);
                ++i;
                continue;
            }
            char32_t codePoint = c;
            if (QChar::isHighSurrogate(c)) {
                if (i + 1 == n) {
                    m_pendingHigh = c; // the low half may start the next piece
                    ++i;
                    break;
                }
                codePoint = QChar::isLowSurrogate(d[i + 1]) ? QChar::surrogateToUcs4(c, d[++i])
                                                            : char32_t(0xFFFD);
            } else if (QChar::isLowSurrogate(c)) {
                codePoint = 0xFFFD;
            }
            ++i;
            m_size = w;
            reserveFor(n - i);
            out = m_out;
            reference(codePoint);
            w = m_size;
        }
        m_size = w;
    }

    // The bytes not yet drained and the final CR LF.
    QByteArray finish()
    {
        reserveFor(0);
        if (m_pendingHigh != 0)
            reference(0xFFFD);
        m_pendingHigh = 0;
        m_out[m_size++] = '\r';
        m_out[m_size++] = '\n';
        m_bytes.truncate(m_size);
        m_out = nullptr;
        m_size = m_capacity = 0;
        return std::move(m_bytes);
    }

private:
    static constexpr qsizetype longestReference = 10; // "&#1114111;"

    // Room for one reference, the rest of the piece and the final CR LF.
    void reserveFor(qsizetype rest)
    {
        const qsizetype needed = m_size + longestReference + rest + 2;
        if (needed > m_capacity)
            grow(std::max(needed, m_capacity + m_capacity / 2));
    }

    void grow(qsizetype capacity)
    {
        m_bytes.resize(capacity);
        m_out = m_bytes.data();
        m_capacity = capacity;
    }

    void reference(char32_t codePoint)
    {
        char digits[8];
        int count = 0;
        do {
            digits[count++] = char('0' + codePoint % 10);
            codePoint /= 10;
        } while (codePoint != 0);
        m_out[m_size++] = '&';
        m_out[m_size++] = '#';
        while (count > 0)
            m_out[m_size++] = digits[--count];
        m_out[m_size++] = ';';
    }

    Drain m_drain;
    bool m_failed = false;
    QByteArray m_bytes;
    char *m_out = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    char16_t m_pendingHigh = 0;
};

} // namespace quorvane
