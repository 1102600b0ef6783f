#include "files/listing.h"

#include "files/names.h"
#include "files/volumes.h"
#include "platform/runtimeerror.h"
#include "platform/systemcalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

// The character `c` folded for matching without regard to case, ASCII without a table.
char32_t fold(char32_t c) {
    if (c < 0x80)
        return c - U'A' < 26u ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// The code point starting at `i` and the number of UTF-16 units it takes.
char32_t codePointAt(QStringView text, qsizetype i, qsizetype* units) {
    const char16_t high = text[i].unicode();
    if (QChar::isHighSurrogate(high) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(high, text[i + 1].unicode());
    }
    *units = 1;
    return high;
}

// The code point ending just before `end` and the number of UTF-16 units it takes.
char32_t codePointBefore(QStringView text, qsizetype end, qsizetype* units) {
    const char16_t low = text[end - 1].unicode();
    if (QChar::isLowSurrogate(low) && end >= 2 && text[end - 2].isHighSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(text[end - 2].unicode(), low);
    }
    *units = 1;
    return low;
}

constexpr QLatin1String kDeletedMark(" (deleted)");

// Whether a name may hold letters written as a base and its accents apart, as other systems
// write names ("e" and U+0302 for "ê"); names in Latin letters only are composed already.
bool mayBeDecomposed(QStringView name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x300; });
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

// --- WildcardPattern ---------------------------------------------------------------------

WildcardPattern::WildcardPattern(const QString& pattern)
    : m_text(pattern) {
    const QString composed = pattern.normalized(QString::NormalizationForm_C);
    const QStringView view(composed);
    for (qsizetype i = 0; i < view.size();) {
        qsizetype units = 1;
        const char32_t c = codePointAt(view, i, &units);
        i += units;
        if (c == U'*') {
            if (m_tokens.empty() || m_tokens.back() != kAnyRun)
                m_tokens.push_back(kAnyRun);
        } else {
            m_tokens.push_back(c == U'?' ? kAnyOne : fold(c));
        }
    }
    const auto wildcards = std::count_if(m_tokens.begin(), m_tokens.end(),
                                         [](char32_t t) { return t == kAnyRun || t == kAnyOne; });
    if (m_tokens.size() == 1 && m_tokens.front() == kAnyRun)
        m_shape = Shape::Everything;
    else if (wildcards == 0)
        m_shape = Shape::Exact;
    else if (wildcards == 1 && m_tokens.front() == kAnyRun)
        m_shape = Shape::Suffix;
    else
        m_shape = Shape::General;
}

bool WildcardPattern::matches(QStringView name) const {
    // A name and a pattern match as they read: both are compared in composed form.
    if (m_shape != Shape::Everything && mayBeDecomposed(name))
        return matchComposed(name.toString().normalized(QString::NormalizationForm_C));
    return matchComposed(name);
}

bool WildcardPattern::matchComposed(QStringView name) const {
    switch (m_shape) {
    case Shape::Everything:
        return true;
    case Shape::Exact: {
        qsizetype at = 0;
        for (const char32_t token : m_tokens) {
            if (at >= name.size())
                return false;
            qsizetype units = 1;
            if (fold(codePointAt(name, at, &units)) != token)
                return false;
            at += units;
        }
        return at == name.size();
    }
    case Shape::Suffix: {
        qsizetype end = name.size();
        for (auto token = m_tokens.rbegin(); *token != kAnyRun; ++token) {
            if (end == 0)
                return false;
            qsizetype units = 1;
            if (fold(codePointBefore(name, end, &units)) != *token)
                return false;
            end -= units;
        }
        return true;
    }
    case Shape::General:
        return matchGeneral(name);
    }
    return false;
}

// Greedy matching that falls back to the last '*' met: linear for the usual patterns.
bool WildcardPattern::matchGeneral(QStringView name) const {
    const std::size_t count = m_tokens.size();
    std::size_t token = 0;
    qsizetype at = 0;
    bool star = false;
    std::size_t starToken = 0; // the token after the last '*' met
    qsizetype starAt = 0;      // where the text that '*' stands for ends so far
    while (at < name.size()) {
        if (token < count && m_tokens[token] == kAnyRun) {
            star = true;
            starToken = ++token;
            starAt = at;
            continue;
        }
        qsizetype units = 1;
        const char32_t c = codePointAt(name, at, &units);
        if (token < count && (m_tokens[token] == kAnyOne || m_tokens[token] == fold(c))) {
            ++token;
            at += units;
            continue;
        }
        if (!star)
            return false;
        // Let the last '*' take one more character and go on from there.
        qsizetype skipped = 1;
        codePointAt(name, starAt, &skipped);
        starAt += skipped;
        at = starAt;
        token = starToken;
    }
    while (token < count && m_tokens[token] == kAnyRun)
        ++token;
    return token == count;
}

// --- Sorting -----------------------------------------------------------------------------

namespace {

// The Latin letters no accent makes, as the letters they are read as: "œuvre" sorts as
// "oeuvre", "ınce" among the words in i.
struct LetterSpelling {
    char16_t letter;
    const char* spelling;
};
constexpr LetterSpelling kUnaccentedLetters[] = {
    {u'Æ', "ae"}, {u'æ', "ae"}, {u'Œ', "oe"}, {u'œ', "oe"}, {u'ß', "ss"}, {u'Ø', "o"},
    {u'ø', "o"},  {u'Đ', "d"},  {u'đ', "d"},  {u'ı', "i"},  {u'Ł', "l"},  {u'ł', "l"},
    {u'Ħ', "h"},  {u'ħ', "h"},  {u'Ŧ', "t"},  {u'ŧ', "t"},
};

// For the accented Latin letters, the lower-case letter without its accent ("É" to "e"), and
// the spelling of the letters above; empty where there is none ("þ"). Derived once from the
// Unicode decompositions.
class LatinBase {
public:
    static constexpr char16_t kFirst = 0xC0;
    static constexpr char16_t kLast = 0x17F;

    LatinBase() {
        for (char16_t c = kFirst; c <= kLast; ++c) {
            const QString parts = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            const bool plain =
                parts.size() > 1 && parts.at(0).unicode() < 0x80 &&
                std::all_of(parts.cbegin() + 1, parts.cend(), [](QChar m) { return m.isMark(); });
            if (plain)
                m_base[c - kFirst] = QByteArray(1, char(fold(parts.at(0).unicode())));
        }
        for (const LetterSpelling& letter : kUnaccentedLetters)
            m_base[letter.letter - kFirst] = letter.spelling;
    }
    // The letters `c` sorts as; empty when the table does not know it.
    const QByteArray& of(char16_t c) const {
        static const QByteArray none;
        return c >= kFirst && c <= kLast ? m_base[c - kFirst] : none;
    }

private:
    QByteArray m_base[kLast - kFirst + 1];
};

// Appends the sort key of `name` to `out` as UTF-8, whose byte order is the order of the
// characters: most names take the quick way through the table, the others through the
// Unicode decompositions. Every kind of space sorts as a space.
void appendSortKey(const QString& name, QByteArray& out) {
    static const LatinBase latin;
    const qsizetype start = out.size();
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(char(fold(u)));
        } else if (const QByteArray& base = latin.of(u); !base.isEmpty()) {
            out.append(base);
        } else {
            out.truncate(start);
            QString key = name.normalized(QString::NormalizationForm_D);
            key.removeIf([](QChar m) { return m.isMark(); });
            QString spelt;
            spelt.reserve(key.size());
            for (const QChar k : key.toCaseFolded()) {
                if (k.category() == QChar::Separator_Space)
                    spelt += QLatin1Char(' ');
                else if (const QByteArray& letters = latin.of(k.unicode()); !letters.isEmpty())
                    spelt += QLatin1StringView(letters);
                else
                    spelt += k;
            }
            out.append(spelt.toUtf8());
            return;
        }
    }
}

// The order of the `count` texts that `textAt` gives by their sort keys, ties broken by
// `before`, and for each place in that order whether its key is the same as the one before it.
struct SortedOrder {
    std::vector<qsizetype> order;
    std::vector<bool> sameKeyAsPrevious;
};
template <class TextAt, class Before>
SortedOrder sortedOrder(qsizetype count, TextAt textAt, Before before) {
    // The keys live in one buffer and the entries point into it, so sorting moves small
    // values and compares bytes.
    struct Entry {
        qsizetype offset;
        qsizetype size;
        qsizetype index;
    };
    QByteArray keys;
    keys.reserve(count * 16);
    std::vector<Entry> entries;
    entries.reserve(std::size_t(count));
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype offset = keys.size();
        appendSortKey(textAt(i), keys);
        entries.push_back({offset, keys.size() - offset, i});
    }
    const char* bytes = keys.constData();
    const auto compareKeys = [bytes](const Entry& a, const Entry& b) {
        const int byKey =
            std::memcmp(bytes + a.offset, bytes + b.offset, std::size_t(std::min(a.size, b.size)));
        return byKey != 0 ? byKey : a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int byKey = compareKeys(a, b);
        return byKey != 0 ? byKey < 0 : before(a.index, b.index);
    });
    SortedOrder sorted;
    sorted.order.reserve(entries.size());
    sorted.sameKeyAsPrevious.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        sorted.order.push_back(entries[i].index);
        sorted.sameKeyAsPrevious.push_back(i > 0 && compareKeys(entries[i - 1], entries[i]) == 0);
    }
    return sorted;
}

// What two names that look the same have in common: the same characters once composed, with
// every kind of space a space.
QString lookKey(const QString& shown) {
    QString key = shown.normalized(QString::NormalizationForm_C);
    for (QChar& c : key) {
        if (c.category() == QChar::Separator_Space)
            c = QLatin1Char(' ');
    }
    return key;
}

// Whether `text` holds a space other than the plain one (a no-break or a thin space, say).
bool holdsUnusualSpace(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Separator_Space && c != QLatin1Char(' ');
    });
}

// The marks that say how a name differs from the ones it looks like.
const QString& decomposedMark() {
    static const QString mark = QStringLiteral(u" (forme décomposée)");
    return mark;
}
const QString& unusualSpaceMark() {
    static const QString mark = QStringLiteral(u" (espace spéciale)");
    return mark;
}

} // namespace

QString sortKey(const QString& name) {
    QByteArray key;
    appendSortKey(name, key);
    return QString::fromUtf8(key);
}

void sortNames(QStringList& names) {
    const SortedOrder sorted = sortedOrder(
        names.size(), [&](qsizetype i) -> const QString& { return names.at(i); },
        [&](qsizetype a, qsizetype b) { return names.at(a) < names.at(b); });
    QStringList result;
    result.reserve(names.size());
    for (const qsizetype index : sorted.order)
        result.append(std::move(names[index]));
    names = std::move(result);
}

bool sortsBefore(const FolderEntry& a, const FolderEntry& b) {
    const QString shownA = shownName(a.name);
    const QString shownB = shownName(b.name);
    // Keys compare as their UTF-8 bytes do, as in sortedOrder().
    QByteArray keyA;
    QByteArray keyB;
    appendSortKey(shownA, keyA);
    appendSortKey(shownB, keyB);
    const int byKey = keyA.compare(keyB);
    if (byKey != 0)
        return byKey < 0;
    if (shownA != shownB)
        return shownA < shownB;
    return a.name < b.name;
}

std::pair<qsizetype, qsizetype> alikeRows(const QList<FolderEntry>& entries, qsizetype row) {
    const auto keyAt = [&](qsizetype i) {
        QByteArray key;
        appendSortKey(shownName(entries.at(i).name), key);
        return key;
    };
    const QByteArray key = keyAt(row);
    qsizetype first = row;
    while (first > 0 && keyAt(first - 1) == key)
        --first;
    qsizetype last = row + 1;
    while (last < entries.size() && keyAt(last) == key)
        ++last;
    return {first, last};
}

void tellApart(QList<FolderEntry>& entries, qsizetype first, qsizetype last) {
    for (qsizetype i = first; i < last; ++i)
        entries[i].shown = shownName(entries[i].name);
    if (last - first < 2)
        return;
    // The entries whose shown texts look like another's, grouped by what they look like.
    const auto lookalikes = [&] {
        QHash<QString, QList<qsizetype>> byLook;
        for (qsizetype i = first; i < last; ++i)
            byLook[lookKey(entries[i].shown)].append(i);
        QList<QList<qsizetype>> groups;
        for (const QList<qsizetype>& rows : std::as_const(byLook)) {
            if (rows.size() > 1)
                groups.append(rows);
        }
        return groups;
    };
    for (const QList<qsizetype>& group : lookalikes()) {
        for (const qsizetype i : group) {
            QString& shown = entries[i].shown;
            const bool decomposed = shown != shown.normalized(QString::NormalizationForm_C);
            const bool space = holdsUnusualSpace(shown);
            if (decomposed)
                shown += decomposedMark();
            if (space)
                shown += unusualSpaceMark();
        }
    }
    for (const QList<qsizetype>& group : lookalikes()) {
        int number = 0;
        for (const qsizetype i : group)
            entries[i].shown += QStringLiteral(u" (n° %1)").arg(++number);
    }
}

// --- Reading a folder --------------------------------------------------------------------

QString absoluteFolder(const QString& base, const QString& path) {
    const QString full =
        path.startsWith(QLatin1Char('/')) || base.isEmpty() ? path : joinPath(base, path);
    QString folder = QDir::cleanPath(full);
    // Above the root is the root.
    while (folder.startsWith(QLatin1String("/..")) &&
           (folder.size() == 3 || folder.at(3) == QLatin1Char('/')))
        folder.remove(0, 3);
    return folder.isEmpty() && full.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : folder;
}

QString startFolder() {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer))
        return nameFromBytes(buffer);
    // A current folder that was removed is still named by the system, marked as deleted.
    const ssize_t size = ::readlink("/proc/self/cwd", buffer, sizeof buffer - 1);
    QString gone = size > 0 ? nameFromBytes(QByteArrayView(buffer, size)) : QString();
    gone.chop(gone.endsWith(kDeletedMark) ? kDeletedMark.size() : 0);
    return gone.startsWith(QLatin1Char('/')) ? gone : QDir::homePath();
}

bool isFolderPath(const QString& path) {
    struct stat info {};
    return ::stat(bytesFromName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

void openNearest(const QString& folder, const std::function<void(const QString&)>& open) {
    for (const QString& start : {folder, QDir::homePath()}) {
        for (QString candidate = start; !candidate.isEmpty();) {
            try {
                open(candidate);
                return;
            } catch (const RuntimeError&) {
                const QString up = QFileInfo(candidate).path();
                candidate = up == candidate ? QString() : up;
            }
        }
    }
}

namespace {

// The kind the entry `raw` of the folder open as `fd` is listed as, if any. Its type comes with
// it on most file systems; links and the rest are looked at, following the link, so a link to
// a file lists as a file.
std::optional<EntryKind> listedKind(int fd, const char* raw, unsigned char type) {
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat info {};
        if (::fstatat(fd, raw, &info, 0) != 0)
            return std::nullopt;
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    if (type == DT_DIR)
        return EntryKind::Folders;
    if (type == DT_REG)
        return EntryKind::Files;
    return std::nullopt;
}

// Whether the entry `raw` of the folder open as `fd` is listed among the entries of `kind`.
bool isListedKind(int fd, const char* raw, unsigned char type, EntryKind kind) {
    return listedKind(fd, raw, type) == kind;
}

// Whether the entry `raw` of `shares`, the desktop's gateway folder just above its shares, is
// a share whose server is silent: the gateway shows it as a folder, and looking at it would
// wait for the server. False where `shares` is empty (a folder of any other kind).
bool isSilentShare(const QString& shares, const char* raw) {
    return !shares.isEmpty() && !volumeAnswers(joinPath(shares, nameFromBytes(raw)));
}

// The folder's path when its entries are a gateway's shares, else an empty text.
QString sharesOf(const QString& folder) {
    return holdsShares(folder) ? folder : QString();
}

// Whether the name is one the lists hide: it starts with a point.
bool isHiddenName(const char* raw) {
    return raw[0] == '.';
}

// Whether the name is "." or "..", the folder itself or its parent.
bool isSelfOrParent(const char* raw) {
    return raw[0] == '.' && (raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0'));
}

// Whether `raw` is shown as it is: printable ASCII, neither starting nor ending with a space.
// Most names are; they need neither decoding nor a look for what might be hidden in them.
bool isPlainName(QByteArrayView raw) {
    return !raw.isEmpty() && raw.front() != ' ' && raw.back() != ' ' &&
           std::all_of(raw.begin(), raw.end(), [](char c) { return c >= ' ' && c < 0x7F; });
}

// The entry for the name `raw` when its readable form matches `pattern`.
std::optional<FolderEntry> entryFor(QByteArrayView raw, const WildcardPattern& pattern) {
    if (isPlainName(raw)) {
        QString name = QString::fromLatin1(raw);
        if (!pattern.matches(name))
            return std::nullopt;
        QString shown = name;
        return FolderEntry{std::move(name), std::move(shown)};
    }
    bool kept = false;
    QString name = nameFromBytes(raw, &kept);
    if (!pattern.matches(kept ? readableName(name) : name))
        return std::nullopt;
    QString shown = shownName(name);
    return FolderEntry{std::move(name), std::move(shown)};
}

// Sorts the entries by what they show and tells apart the ones that look alike.
void sortEntries(QList<FolderEntry>& entries) {
    const auto shownAt = [&](qsizetype i) -> const QString& { return entries.at(i).shown; };
    const SortedOrder sorted = sortedOrder(entries.size(), shownAt, [&](qsizetype a, qsizetype b) {
        return shownAt(a) != shownAt(b) ? shownAt(a) < shownAt(b)
                                        : entries.at(a).name < entries.at(b).name;
    });
    QList<FolderEntry> result;
    result.reserve(entries.size());
    for (const qsizetype index : sorted.order)
        result.append(std::move(entries[index]));
    entries = std::move(result);
    for (qsizetype first = 0; first < entries.size();) {
        qsizetype last = first + 1;
        while (last < entries.size() && sorted.sameKeyAsPrevious[std::size_t(last)])
            ++last;
        if (last - first > 1)
            tellApart(entries, first, last);
        first = last;
    }
}

// What the desktop's gateway folder just above its shares holds, as one reading found it: each
// name with the kind it is listed as (none for what neither list shows), and the shares that did
// not answer.
struct ShareListing {
    struct Entry {
        QByteArray raw;
        std::optional<EntryKind> kind;
    };
    QString folder;
    bool hidden = false; // the hidden names were read too
    std::vector<Entry> entries;
    QStringList silent;
};

// The last reading of a gateway's shares folder in which a share did not answer, kept while it
// still has not. The question waiting on that share may hold the folder in the kernel (a FUSE
// program without parallel folder operations has the folder locked while a name in it is looked
// up), so that reading it again would wait for the share: both lists, and every reading of the
// folder meanwhile, take its entries from here.
class KeptShares {
public:
    // The reading kept of `folder` that holds the names a reading with `hidden` lists, while one
    // of its silent shares still does not answer.
    std::optional<ShareListing> of(const QString& folder, bool hidden) const {
        std::optional<ShareListing> kept;
        {
            const std::lock_guard lock(m_mutex);
            if (m_listing && m_listing->folder == folder && (m_listing->hidden || !hidden))
                kept = m_listing;
        }
        if (!kept)
            return std::nullopt;
        if (!volumesAnswer(kept->silent).contains(false))
            return std::nullopt;
        return kept;
    }
    // Keeps `listing` when a share of it did not answer; else forgets what was kept of its folder.
    void keep(const ShareListing& listing) {
        const std::lock_guard lock(m_mutex);
        if (!listing.silent.isEmpty())
            m_listing = listing;
        else if (m_listing && m_listing->folder == listing.folder)
            m_listing.reset();
    }

private:
    mutable std::mutex m_mutex;
    std::optional<ShareListing> m_listing;
};

// The one kept listing of a gateway's shares, for the whole program.
KeptShares& keptShares() {
    static KeptShares kept;
    return kept;
}

// The entries of the folder open as `folderFd`, as readFolderAt() gives them; `shares` is the
// folder's path when its entries are a gateway's shares (sharesOf).
QList<FolderEntry> readEntries(int folderFd, EntryKind kind, const WildcardPattern& pattern,
                               bool hidden, const QString& shares) {
    QList<FolderEntry> entries;
    const auto list = [&](QByteArrayView raw) {
        if (auto listed = entryFor(raw, pattern))
            entries.append(std::move(*listed));
    };
    const auto listShares = [&](const ShareListing& listing) {
        for (const ShareListing::Entry& entry : listing.entries) {
            if (entry.kind == kind && (hidden || !isHiddenName(entry.raw.constData())))
                list(entry.raw);
        }
        sortEntries(entries);
        return entries;
    };
    if (!shares.isEmpty()) {
        if (const std::optional<ShareListing> kept = keptShares().of(shares, hidden))
            return listShares(*kept);
    }
    // The listing reads through its own handle, so the one given stays as it is.
    const int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raiseErrno(errno, ErrnoSubject::Folder);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int code = errno;
        ::close(fd);
        raiseErrno(code, ErrnoSubject::Folder);
    }
    // A gateway's shares are listed once every name is read and the untyped ones, which would
    // be looked at, are asked all at once: silent shares then hold the listing for one question,
    // and no question waits on the reading of the folder, nor the reading on a question.
    std::vector<std::pair<QByteArray, unsigned char>> shareEntries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                raiseErrno(errno, ErrnoSubject::Folder);
            break;
        }
        const char* raw = entry->d_name;
        if (isSelfOrParent(raw) || (!hidden && isHiddenName(raw)))
            continue;
        if (!shares.isEmpty())
            shareEntries.emplace_back(QByteArray(raw), entry->d_type);
        else if (isListedKind(fd, raw, entry->d_type, kind))
            list(QByteArrayView(raw, qsizetype(std::strlen(raw))));
    }
    if (shares.isEmpty()) {
        sortEntries(entries);
        return entries;
    }
    const auto untyped = [](unsigned char type) { return type == DT_LNK || type == DT_UNKNOWN; };
    QStringList asked;
    for (const auto& [raw, type] : shareEntries) {
        if (untyped(type))
            asked.append(joinPath(shares, nameFromBytes(raw)));
    }
    const QList<bool> answers = volumesAnswer(asked);
    ShareListing listing{shares, hidden, {}, {}};
    qsizetype next = 0; // the question of the next untyped share
    for (const auto& [raw, type] : shareEntries) {
        const qsizetype question = untyped(type) ? next++ : -1;
        // A silent share is the folder the gateway shows it as, not looked at.
        if (question >= 0 && !answers.at(question)) {
            listing.silent.append(asked.at(question));
            listing.entries.push_back({raw, EntryKind::Folders});
        } else {
            listing.entries.push_back({raw, listedKind(fd, raw.constData(), type)});
        }
    }
    keptShares().keep(listing);
    return listShares(listing);
}

} // namespace

QList<FolderEntry> readFolderAt(int folderFd, EntryKind kind, const WildcardPattern& pattern,
                                bool hidden) {
    return readEntries(folderFd, kind, pattern, hidden, QString());
}

QList<FolderEntry> readFolder(const QString& folder, EntryKind kind, const WildcardPattern& pattern,
                              bool hidden) {
    if (folder.isEmpty() || folder.contains(QChar(0)))
        raise(ErrorNumber::PathNotFound);
    const int fd = ::open(bytesFromName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        raiseErrno(errno, ErrnoSubject::Folder);
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    return readEntries(fd, kind, pattern, hidden, sharesOf(folder));
}

QStringList listFolder(const QString& folder, EntryKind kind, const WildcardPattern& pattern,
                       bool hidden) {
    QStringList shown;
    for (FolderEntry& entry : readFolder(folder, kind, pattern, hidden))
        shown.append(std::move(entry.shown));
    return shown;
}

std::optional<FolderEntry> readEntry(const QString& folder, const QString& name, EntryKind kind,
                                     const WildcardPattern& pattern, bool hidden) {
    const QByteArray raw = bytesFromName(name);
    if (raw.isEmpty() || raw.contains('/') || raw.contains('\0') ||
        isSelfOrParent(raw.constData()) || (!hidden && isHiddenName(raw.constData())))
        return std::nullopt;
    const int fd = ::open(bytesFromName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    const bool listed = isSilentShare(sharesOf(folder), raw.constData())
                            ? kind == EntryKind::Folders
                            : sys::fstatat(fd, raw.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                                  isListedKind(fd, raw.constData(),
                                               S_ISDIR(info.st_mode)   ? DT_DIR
                                               : S_ISREG(info.st_mode) ? DT_REG
                                                                       : DT_UNKNOWN,
                                               kind);
    ::close(fd);
    return listed ? entryFor(raw, pattern) : std::nullopt;
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace vorn
