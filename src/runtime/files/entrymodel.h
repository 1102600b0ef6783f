#pragma once

#include "files/listing.h"

#include <QAbstractListModel>
#include <QStringList>

// The rows of a folder's entries that the folder and file lists show, kept in step with the
// disk: the whole list replaced at once, or one name at a time as the system tells of it, so
// that the rows that stay keep their selection and their place.
namespace vorn {

class EntryListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    const QList<FolderEntry>& entries() const { return m_entries; }
    // Replaces every entry.
    void setEntries(QList<FolderEntry> entries);
    // The position among the entries of the one named `name` exactly, or -1.
    qsizetype indexOfName(const QString& name) const;
    // The position of the entry showing `shown`, or failing that named so, or -1.
    qsizetype indexOfText(const QString& text) const;
    // The position an entry named `name` has, or would have, among the entries.
    qsizetype placeOfName(const QString& name) const;
    // Looks at each of `names` in `folder` again and adds, removes or shows anew its row.
    void followNames(const QString& folder, const QStringList& names, EntryKind kind,
                     const WildcardPattern& pattern);

    // The exact name of the entry at `row`.
    virtual QString nameAt(int row) const { return m_entries.at(row - firstEntryRow()).name; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(firstEntryRow() + m_entries.size());
    }

protected:
    // The rows the model shows above its entries.
    virtual int firstEntryRow() const { return 0; }
    // Replaces the entries within a reset the model makes itself.
    void replaceEntries(QList<FolderEntry> entries) { m_entries = std::move(entries); }

private:
    // Shows anew the entries that sort with the one at `index`, so look-alikes stay apart.
    void tellApartAround(qsizetype at);

    QList<FolderEntry> m_entries;
};

} // namespace vorn
