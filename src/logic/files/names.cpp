#include "files/names.h"

#include <QList>

#include <algorithm>
#include <array>
#include <utility>

namespace vorn {

namespace {

constexpr char16_t kKeptByte = 0xDC00; // a kept byte b is the lone surrogate kKeptByte + b

// Whether `u` stands for a byte of a name that is not valid UTF-8, kept as it was.
bool isKeptByte(char16_t u) {
    return u >= kKeptByte + 0x80 && u <= kKeptByte + 0xFF;
}

// Whether the text of a name holds any byte kept because it is not UTF-8.
bool holdsKeptBytes(QStringView name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return isKeptByte(c.unicode()); });
}

// The length of the valid UTF-8 sequence starting at `at`, or 0 when its first byte does not
// start one: no overlong form, no surrogate, nothing above U+10FFFF.
qsizetype utf8SequenceAt(QByteArrayView bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    qsizetype size = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + size > bytes.size())
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (qsizetype i = 2; i < size; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return size;
}

// Windows-1252's characters for the bytes 0x80 to 0x9F; zero where it has none.
constexpr std::array<char16_t, 32> kWindows1252{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The character a byte from 0x80 up reads as in the Windows-1252 character set, the
// replacement character where that set has none.
QChar readableByte(unsigned char byte) {
    if (byte >= 0xA0)
        return QChar(char16_t(byte));
    const char16_t c = kWindows1252[byte - 0x80];
    return QChar(c ? c : char16_t(QChar::ReplacementCharacter));
}

// Letters and marks that show nothing though they are neither controls nor format characters:
// the combining grapheme joiner, the Hangul fillers, the Khmer inherent vowels and the
// variation selectors. A name holding one looks like the same name without it.
constexpr std::array<std::pair<char32_t, char32_t>, 8> kBlankLettersAndMarks{{
    {0x034F, 0x034F},
    {0x115F, 0x1160},
    {0x17B4, 0x17B5},
    {0x180B, 0x180F},
    {0x3164, 0x3164},
    {0xFE00, 0xFE0F},
    {0xFFA0, 0xFFA0},
    {0xE0100, 0xE01EF},
}};

// Characters that take no room or none that shows: controls, format characters (zero-width
// ones, direction marks), line and paragraph separators, lone surrogates, and the blank
// letters and marks above.
bool isInvisible(char32_t c) {
    if (std::any_of(kBlankLettersAndMarks.begin(), kBlankLettersAndMarks.end(),
                    [c](const auto& range) { return c >= range.first && c <= range.second; }))
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// Whether `c` is a space of any width.
bool isSpace(char32_t c) {
    return c == U' ' || QChar::category(c) == QChar::Separator_Space;
}

// The visible form of a character that cannot be seen.
QString visibleForm(char32_t c) {
    switch (c) {
    case U' ':
        return QStringLiteral(u"␣");
    case U'\n':
        return QStringLiteral(u"⏎");
    case U'\t':
        return QStringLiteral(u"⇥");
    case 0x7F:
        return QStringLiteral(u"␡");
    default:
        break;
    }
    if (c < 0x20)
        return QString(QChar(char16_t(0x2400 + c))); // the control pictures ␀ to ␟
    return QStringLiteral(u"⟨U+%1⟩").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

const QString& undecodableMark() {
    static const QString mark = QStringLiteral(u" (codage non reconnu)");
    return mark;
}

} // namespace

QString nameFromBytes(QByteArrayView bytes, bool* kept) {
    QString text = QString::fromUtf8(bytes);
    if (kept)
        *kept = false;
    // The quick way holds unless decoding had to replace something: a name may hold U+FFFD
    // itself, and then it reads back as it was.
    if (!text.contains(QChar::ReplacementCharacter) || text.toUtf8() == bytes)
        return text;
    if (kept)
        *kept = true;
    text.clear();
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype size = utf8SequenceAt(bytes, at);
        if (size == 0) {
            text.append(QChar(char16_t(kKeptByte + static_cast<unsigned char>(bytes[at]))));
            ++at;
        } else {
            text.append(QString::fromUtf8(bytes.sliced(at, size)));
            at += size;
        }
    }
    return text;
}

QByteArray bytesFromName(QStringView name) {
    if (!holdsKeptBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    qsizetype run = 0; // where the run of ordinary characters being gathered starts
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isKeptByte(name[i].unicode()))
            continue;
        bytes.append(name.sliced(run, i - run).toUtf8());
        if (i < name.size())
            bytes.append(char(name[i].unicode() - kKeptByte));
        run = i + 1;
    }
    return bytes;
}

QString readableName(const QString& name, bool* undecodable) {
    const bool kept = holdsKeptBytes(name);
    if (undecodable)
        *undecodable = kept;
    if (!kept)
        return name;
    QString readable = name;
    for (QChar& c : readable) {
        if (isKeptByte(c.unicode()))
            c = readableByte(static_cast<unsigned char>(c.unicode() - kKeptByte));
    }
    return readable;
}

QString shownName(const QString& name) {
    // Most names hold nothing to show differently: they are shown as they are.
    const bool hidden =
        (!name.isEmpty() && (isSpace(name.front().unicode()) || isSpace(name.back().unicode()))) ||
        std::any_of(name.begin(), name.end(), [](QChar c) {
            return c.unicode() < 0x20 || (c.unicode() >= 0x7F && isInvisible(c.unicode()));
        });
    if (!hidden)
        return name;

    bool undecodable = false;
    const QString readable = readableName(name, &undecodable);
    const QList<uint> points = readable.toUcs4();
    // The spaces that open and close the name cannot be seen; those between words can.
    qsizetype first = 0;
    while (first < points.size() && isSpace(points[first]))
        ++first;
    qsizetype last = points.size();
    while (last > first && isSpace(points[last - 1]))
        --last;
    QString shown;
    shown.reserve(readable.size() + 8);
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (isInvisible(c) || ((i < first || i >= last) && isSpace(c)))
            shown += visibleForm(c);
        else
            shown += QString::fromUcs4(&c, 1);
    }
    if (undecodable)
        shown += undecodableMark();
    return shown;
}

QString copiedName(const QString& name) {
    return holdsKeptBytes(name) ? shownName(name) : name;
}

} // namespace vorn
