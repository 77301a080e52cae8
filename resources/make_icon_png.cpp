// Writes the program's icon as PNG files of several sizes for the desktop's
// icon theme, each pixel of the 32 x 32 drawing scaled to a square block.
// Usage: make_icon_png OUTPUT_DIR SIZE...   (writes OUTPUT_DIR/SIZE.png)
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "resources/puerto_paralelo.xpm"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR SIZE...\n", argv[0]);
        return EXIT_FAILURE;
    }
    const QImage icon(puerto_paralelo_xpm);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.png").arg(size);
        if (size < 1 || size % icon.width() != 0 ||
            !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}
