#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

// Reading the names in a folder quickly, matching them against a wildcard pattern and sorting
// them the way a French user reads a list. The list controls build on these.
namespace vorn {

// A wildcard pattern compiled once and matched against many names: '*' stands for any run of
// characters, '?' for exactly one; letters match without regard to case.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern = QStringLiteral("*"));

    const QString& text() const { return m_text; }
    bool matchesEverything() const { return m_shape == Shape::Everything; }
    bool matches(QStringView name) const;

private:
    // The pattern's shape decides the matcher: most patterns need no backtracking at all.
    enum class Shape { Everything, Exact, Suffix, General };
    static constexpr char32_t kAnyRun = 0xFFFFFFFF;
    static constexpr char32_t kAnyOne = 0xFFFFFFFE;

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

// Calls `open` with `folder`, then with each folder above it in turn, then with the home
// folder and those above it, until a call raises no run-time error. The lists open a folder
// this way when the one they want may be gone or unreadable.
void openNearest(const QString& folder, const std::function<void(const QString&)>& open);

enum class EntryKind { Files, Folders };

// The names of the files (regular files, links to them included) or of the sub-folders of
// `folder` that match `pattern`, sorted. Names starting with a point are left out unless
// `hidden` is set, and so are names that cannot be written back as the same file name.
// A folder that cannot be read raises error 76 (missing), 70 (refused) or 75.
QStringList listFolder(const QString& folder, EntryKind kind,
                       const WildcardPattern& pattern = WildcardPattern(), bool hidden = false);

} // namespace vorn
