// Draws the ready pictures (shell/readypictures.h) with the windows' own code, and writes each
// as raw pixels row by row, as the program keeps them: premultiplied 32-bit ARGB in the
// machine's byte order, or three bytes of red, green and blue for an opaque picture, its rows
// padded to four bytes:
//   vornutil_make_pictures <output folder>
// gives <output folder>/<name>.pixels for every ready picture. The build runs it and builds the
// files into the program, which reads them in place.
#include "shell/readypictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "%s: cannot make %s\n", argv[0], argv[1]);
        return 1;
    }
    for (const vorn::ready::ReadyPicture& ready : vorn::ready::readyPictures()) {
        // QImage needs no application object, so the build runs this without a display.
        QImage image = vorn::ready::draw(ready);
        if (image.format() != QImage::Format_RGB888)
            image.convertTo(QImage::Format_ARGB32_Premultiplied);
        const QString path =
            folder + QLatin1Char('/') + QLatin1String(ready.name) + QStringLiteral(".pixels");
        QFile file(path);
        const auto rowBytes = qint64(image.bytesPerLine());
        bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int y = 0; written && y < image.height(); ++y)
            written = file.write(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes) ==
                      rowBytes;
        if (!written || !file.flush()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
