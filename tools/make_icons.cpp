// Writes the application icon as PNG files in the layout of the hicolor icon theme:
//   vornutil_make_icons <output folder> <icon name> <size>...
// gives <output folder>/<size>x<size>/apps/<icon name>.png for every size. The build runs it
// so that the installed icons are drawn by the same code as the windows' icon.
#include "platform/pictures.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <output folder> <icon name> <size>...\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 4096) {
            std::fprintf(stderr, "%s: not an icon size: %s\n", argv[0], argv[i]);
            return 2;
        }
        // QImage needs no application object, so the build runs this without a display.
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            vorn::pictures::applicationIcon(painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
