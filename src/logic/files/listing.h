#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Reading the names in a folder quickly, matching them against a wildcard pattern and sorting
// them the way a French user reads a list. The list controls build on these.
namespace vorn {

// A wildcard pattern compiled once and matched against many names: '*' stands for any run of
// characters, '?' for exactly one; letters match without regard to case, and a letter written
// with its accents apart matches the same letter written whole.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern = QStringLiteral("*"));

    const QString& text() const { return m_text; }
    bool matches(QStringView name) const;

private:
    // The pattern's shape decides the matcher: most patterns need no backtracking at all.
    enum class Shape { Everything, Exact, Suffix, General };
    static constexpr char32_t kAnyRun = 0xFFFFFFFF;
    static constexpr char32_t kAnyOne = 0xFFFFFFFE;

    bool matchComposed(QStringView name) const;
    bool matchGeneral(QStringView name) const;

    QString m_text;
    Shape m_shape = Shape::Everything;
    std::vector<char32_t> m_tokens; // folded characters and the two wildcard tokens
};

// The key a name sorts by: case and accents are ignored, so "école" sorts with "ecole",
// before "Zèbre". Names with equal keys are ordered by their own text.
QString sortKey(const QString& name);
// Sorts names by their sort keys.
void sortNames(QStringList& names);

// Joins a folder and a name with exactly one separator.
QString joinPath(const QString& folder, const QString& name);

// The absolute, clean form of a folder path; a relative one is taken from `base`. Only the
// root ends with a separator.
QString absoluteFolder(const QString& base, const QString& path);

// The folder the lists start in: the process's current folder; when that was removed, the
// path it had (its ancestors may remain); failing both, the home folder.
QString startFolder();

// True when `path` leads to a folder, links followed.
bool isFolderPath(const QString& path);

// Calls `open` with `folder`, then with each folder above it in turn, then with the home
// folder and those above it, until a call raises no run-time error. The lists open a folder
// this way when the one they want may be gone or unreadable.
void openNearest(const QString& folder, const std::function<void(const QString&)>& open);

enum class EntryKind { Files, Folders };

// One entry of a folder as a list holds it: its exact name, as text that gives back the very
// bytes on the disk (nameFromBytes), and the text the list shows for it.
struct FolderEntry {
    QString name;
    QString shown;
    bool operator==(const FolderEntry&) const = default;
};

} // namespace vorn

// Lists of entries move them as bytes when they grow, as they do QStrings.
Q_DECLARE_TYPEINFO(vorn::FolderEntry, Q_RELOCATABLE_TYPE);

namespace vorn {

// The entries of the files (regular files, links to them included) or of the sub-folders of
// `folder` whose readable names match `pattern`, sorted by what they show; look-alike names
// are told apart (tellApart). Names starting with a point are left out unless `hidden` is
// set. A folder that cannot be read raises error 76 (missing), 70 (refused), 71 (I/O) or 75.
QList<FolderEntry> readFolder(const QString& folder, EntryKind kind,
                              const WildcardPattern& pattern = WildcardPattern(),
                              bool hidden = false);
// The same, of the folder open as `folderFd` (which is not closed).
QList<FolderEntry> readFolderAt(int folderFd, EntryKind kind,
                                const WildcardPattern& pattern = WildcardPattern(),
                                bool hidden = false);
// The texts readFolder() shows.
QStringList listFolder(const QString& folder, EntryKind kind,
                       const WildcardPattern& pattern = WildcardPattern(), bool hidden = false);

// The entry `name` of `folder` as readFolder() would give it, before look-alike marks; none
// when there is no such entry or it would not be listed.
std::optional<FolderEntry> readEntry(const QString& folder, const QString& name, EntryKind kind,
                                     const WildcardPattern& pattern, bool hidden = false);

// True when `a` comes before `b` in a list.
bool sortsBefore(const FolderEntry& a, const FolderEntry& b);
// The rows [first, last) around `row` of `entries` (sorted) whose names sort as one: the only
// ones that may look like the entry at `row`.
std::pair<qsizetype, qsizetype> alikeRows(const QList<FolderEntry>& entries, qsizetype row);
// Shows the entries [first, last), all sorting as one, so that no two look the same: one whose
// letters are decomposed, or that holds an unusual space, says so; failing that they are
// numbered.
void tellApart(QList<FolderEntry>& entries, qsizetype first, qsizetype last);

} // namespace vorn
