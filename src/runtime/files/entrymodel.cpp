#include "files/entrymodel.h"

#include "files/names.h"

#include <algorithm>

namespace vorn {

void EntryListModel::setEntries(QList<FolderEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

qsizetype EntryListModel::placeOfName(const QString& name) const {
    const FolderEntry probe{name, {}};
    return std::lower_bound(m_entries.cbegin(), m_entries.cend(), probe, sortsBefore) -
           m_entries.cbegin();
}

qsizetype EntryListModel::indexOfName(const QString& name) const {
    const qsizetype at = placeOfName(name);
    return at < m_entries.size() && m_entries.at(at).name == name ? at : -1;
}

qsizetype EntryListModel::indexOfText(const QString& text) const {
    const auto shown = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const FolderEntry& e) { return e.shown == text; });
    return shown != m_entries.cend() ? shown - m_entries.cbegin() : indexOfName(text);
}

void EntryListModel::followNames(const QString& folder, const QStringList& names, EntryKind kind,
                                 const WildcardPattern& pattern) {
    const int offset = firstEntryRow();
    for (const QString& name : names) {
        std::optional<FolderEntry> now = readEntry(folder, name, kind, pattern);
        const qsizetype at = indexOfName(name);
        if (at >= 0 && !now) {
            beginRemoveRows({}, int(offset + at), int(offset + at));
            m_entries.removeAt(at);
            endRemoveRows();
            if (at > 0)
                tellApartAround(at - 1);
            if (at < m_entries.size())
                tellApartAround(at);
        } else if (at < 0 && now) {
            const qsizetype place = placeOfName(name);
            beginInsertRows({}, int(offset + place), int(offset + place));
            m_entries.insert(place, std::move(*now));
            endInsertRows();
            tellApartAround(place);
        }
    }
}

void EntryListModel::tellApartAround(qsizetype at) {
    const auto [first, last] = alikeRows(m_entries, at);
    QStringList before;
    for (qsizetype i = first; i < last; ++i)
        before.append(m_entries.at(i).shown);
    tellApart(m_entries, first, last);
    const int offset = firstEntryRow();
    for (qsizetype i = first; i < last; ++i) {
        if (m_entries.at(i).shown != before.at(i - first)) {
            const QModelIndex changed = index(int(offset + i));
            Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::ToolTipRole});
        }
    }
}

} // namespace vorn
