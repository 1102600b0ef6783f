#pragma once

#include "support/testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

// Helpers for tests that build small folder trees in a temporary folder.
namespace vorn::test {

// Makes a file of `size` bytes at `path`, optionally with a given modification time.
inline bool makeFile(const QString& path, qint64 size = 0, const QDateTime& modified = {}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (size > 0 && file.write(QByteArray(size, 'x')) != size)
        return false;
    if (modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime))
        return false;
    return true;
}

// Makes each entry under `root`, with the folders it lies in: a name ending with "/" is a
// folder, any other an empty file.
inline bool makeTree(const QString& root, const QStringList& entries) {
    for (const QString& entry : entries) {
        const QString path = root + QLatin1Char('/') + entry;
        const bool made = entry.endsWith(QLatin1Char('/'))
                              ? QDir().mkpath(path)
                              : QDir().mkpath(QFileInfo(path).path()) && makeFile(path);
        if (!made)
            return false;
    }
    return true;
}

// The names in `folder`, hidden ones included, sorted: what is really on the disk.
inline QStringList onDisk(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Permission checks do not hold for the super-user.
inline bool permissionsApply() {
    return ::geteuid() != 0;
}

} // namespace vorn::test
