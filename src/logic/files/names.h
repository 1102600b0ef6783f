#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names as the disk holds them and as the lists show them. A name on the disk is any run
// of bytes; as text it keeps every byte that is not valid UTF-8 as a lone surrogate
// (U+DC80..U+DCFF), so that the text names the very same entry again. What the lists show is
// a readable form of that text in which nothing is hidden.
namespace vorn {

// The text of a name or path read from the system; bytes that are not valid UTF-8 are kept,
// and `kept` tells whether there were any.
QString nameFromBytes(QByteArrayView bytes, bool* kept = nullptr);
// The bytes of such a text, each kept byte given back as it was.
QByteArray bytesFromName(QStringView name);

// The name as a person reads it: bytes that are not UTF-8 read as the Western European
// (Windows-1252) characters they most likely were. Sets `undecodable` when there was any.
QString readableName(const QString& name, bool* undecodable = nullptr);

// The name as a list shows it: the readable name with every character that cannot be seen
// drawn visibly (a leading or trailing space as "␣", a line break as "⏎", a tab as "⇥", other
// control characters as their pictures or their code), followed by a French mark when part of
// it could not be read as it is.
QString shownName(const QString& name);

// The text a copy of the name puts on the clipboard: the name itself, so that it names the same
// entry wherever it is pasted; the shown form, mark included, when part of it is not text, as
// its readable form may be another entry's name.
QString copiedName(const QString& name);

} // namespace vorn
