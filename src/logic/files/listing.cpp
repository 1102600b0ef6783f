#include "files/listing.h"

#include "platform/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

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

ErrorNumber folderError(int code) {
    return errorFromErrno(code, ErrnoSubject::Folder);
}

constexpr QLatin1String kDeletedMark(" (deleted)");

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

// --- WildcardPattern ---------------------------------------------------------------------

WildcardPattern::WildcardPattern(const QString& pattern)
    : m_text(pattern) {
    const QStringView view(pattern);
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

// For the accented Latin letters, the lower-case letter without its accent ("É" to "e");
// zero where there is none ("æ", "ß"). Derived once from the Unicode decompositions.
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
            m_base[c - kFirst] = plain ? char(fold(parts.at(0).unicode())) : 0;
        }
    }
    char of(char16_t c) const { return c >= kFirst && c <= kLast ? m_base[c - kFirst] : 0; }

private:
    char m_base[kLast - kFirst + 1] = {};
};

// Appends the sort key of `name` to `out` as UTF-8, whose byte order is the order of the
// characters: most names take the quick way through the table, the others through the
// Unicode decompositions.
void appendSortKey(const QString& name, QByteArray& out) {
    static const LatinBase latin;
    const qsizetype start = out.size();
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(char(fold(u)));
        } else if (const char base = latin.of(u)) {
            out.append(base);
        } else {
            out.truncate(start);
            QString key = name.normalized(QString::NormalizationForm_D);
            key.removeIf([](QChar m) { return m.isMark(); });
            out.append(key.toCaseFolded().toUtf8());
            return;
        }
    }
}

} // namespace

QString sortKey(const QString& name) {
    QByteArray key;
    appendSortKey(name, key);
    return QString::fromUtf8(key);
}

void sortNames(QStringList& names) {
    // The keys live in one buffer and the entries point into it, so sorting moves small
    // values and compares bytes.
    struct Entry {
        qsizetype offset;
        qsizetype size;
        qsizetype name;
    };
    QByteArray keys;
    keys.reserve(names.size() * 16);
    std::vector<Entry> entries;
    entries.reserve(std::size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const qsizetype offset = keys.size();
        appendSortKey(names.at(i), keys);
        entries.push_back({offset, keys.size() - offset, i});
    }
    const char* bytes = keys.constData();
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int byKey =
            std::memcmp(bytes + a.offset, bytes + b.offset, std::size_t(std::min(a.size, b.size)));
        if (byKey != 0)
            return byKey < 0;
        if (a.size != b.size)
            return a.size < b.size;
        return names.at(a.name) < names.at(b.name);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Entry& entry : entries)
        sorted.append(std::move(names[entry.name]));
    names = std::move(sorted);
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
        return QFile::decodeName(buffer);
    // A current folder that was removed is still named by the system, marked as deleted.
    const ssize_t size = ::readlink("/proc/self/cwd", buffer, sizeof buffer - 1);
    QString gone = size > 0 ? QFile::decodeName(QByteArray(buffer, size)) : QString();
    gone.chop(gone.endsWith(kDeletedMark) ? kDeletedMark.size() : 0);
    return gone.startsWith(QLatin1Char('/')) ? gone : QDir::homePath();
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

QStringList listFolder(const QString& folder, EntryKind kind, const WildcardPattern& pattern,
                       bool hidden) {
    if (folder.isEmpty() || folder.contains(QChar(0)))
        raise(ErrorNumber::PathNotFound);
    const QByteArray native = QFile::encodeName(folder);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(native.constData()));
    if (!dir)
        raise(folderError(errno));
    const int fd = ::dirfd(dir.get());

    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                raise(folderError(errno));
            break;
        }
        const char* raw = entry->d_name;
        if (raw[0] == '.') {
            if (!hidden || raw[1] == '\0' || (raw[1] == '.' && raw[2] == '\0'))
                continue;
        }
        // The entry's type comes with it on most file systems; links and the rest are
        // looked at, following the link, so a link to a file lists as a file.
        bool isFolder = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (::fstatat(fd, raw, &info, 0) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        if (kind == EntryKind::Files ? !isFile : !isFolder)
            continue;
        const QByteArray bytes = QByteArray::fromRawData(raw, qsizetype(std::strlen(raw)));
        QString name = QFile::decodeName(bytes);
        // A name that does not decode cleanly cannot be given back to the system as the
        // same name: listing it would let an operation reach another file or none.
        if (name.contains(QChar::ReplacementCharacter) && QFile::encodeName(name) != bytes)
            continue;
        if (!pattern.matches(name))
            continue;
        names.append(std::move(name));
    }
    sortNames(names);
    return names;
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace vorn
