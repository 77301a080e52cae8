// Writes the program's icon, the 32 x 32 drawing, in the forms desktops ask
// for:
//   OUTPUT_DIR/SIZE.png  for each SIZE given, drawn as icon_drawing.h draws it
//   OUTPUT_DIR/icon.svg  the drawing as squares, for the theme's scalable
//                        folder
//   OUTPUT_DIR/icon.ico  16, 32, 48 and 256 pixels, for a Windows program
// Usage: make_icons OUTPUT_DIR SIZE...
#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <QtEndian>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "resources/icon_drawing.h"

namespace {

using pp::DrawIcon;

// One rectangle per run of equal pixels in a row; transparent ones left out.
QByteArray svg(const QImage& icon) {
    QByteArray text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                     "height=\"%2\" viewBox=\"0 0 %1 %2\" "
                                     "shape-rendering=\"crispEdges\">\n")
                          .arg(icon.width())
                          .arg(icon.height())
                          .toUtf8();
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width();) {
            const QRgb pixel = icon.pixel(x, y);
            int end = x + 1;
            while (end < icon.width() && icon.pixel(end, y) == pixel) {
                ++end;
            }
            if (qAlpha(pixel) != 0) {
                text += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" "
                                       "fill=\"%4\"/>\n")
                            .arg(x)
                            .arg(y)
                            .arg(end - x)
                            .arg(QColor(pixel).name())
                            .toUtf8();
            }
            x = end;
        }
    }
    return text + "</svg>\n";
}

// An icon image as a device-independent bitmap, the form Windows XP reads:
// the header, the pixels bottom-up in BGRA, then the mask (a bit per pixel,
// rows of whole 32-bit words), set where the pixel is transparent.
QByteArray bitmap(const QImage& image) {
    const int size = image.width();
    const int mask_row = (size + 31) / 32 * 4;
    QByteArray data(40 + size * size * 4 + mask_row * size, '\0');
    char* header = data.data();
    qToLittleEndian<quint32>(40, header);
    qToLittleEndian<qint32>(size, header + 4);
    qToLittleEndian<qint32>(2 * size, header + 8); // the pixels and the mask
    qToLittleEndian<quint16>(1, header + 12);      // planes
    qToLittleEndian<quint16>(32, header + 14);     // bits per pixel
    char* pixels = header + 40;
    char* mask = pixels + size * size * 4;
    for (int row = 0; row < size; ++row) {
        const int y = size - 1 - row;
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            char* out = pixels + (row * size + x) * 4;
            out[0] = static_cast<char>(qBlue(pixel));
            out[1] = static_cast<char>(qGreen(pixel));
            out[2] = static_cast<char>(qRed(pixel));
            out[3] = static_cast<char>(qAlpha(pixel));
            if (qAlpha(pixel) == 0) {
                mask[row * mask_row + x / 8] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
    }
    return data;
}

// An ICO file: 16, 32 and 48 pixels as bitmaps, which every Windows reads,
// and 256 as PNG, which Windows Vista and later read and XP passes over.
QByteArray ico() {
    constexpr std::array<int, 4> sizes = {16, 32, 48, 256};
    QByteArray header(6, '\0');
    qToLittleEndian<quint16>(1, header.data() + 2); // an icon
    qToLittleEndian<quint16>(sizes.size(), header.data() + 4);
    QByteArray entries;
    QByteArray images;
    for (const int size : sizes) {
        const QImage drawn = DrawIcon(size).convertToFormat(QImage::Format_ARGB32);
        QByteArray image;
        if (size < 256) {
            image = bitmap(drawn);
        } else {
            QBuffer buffer(&image);
            drawn.save(&buffer, "PNG");
        }
        QByteArray entry(16, '\0');
        entry[0] = static_cast<char>(size % 256); // 0 stands for 256
        entry[1] = static_cast<char>(size % 256);
        qToLittleEndian<quint16>(1, entry.data() + 4);  // planes
        qToLittleEndian<quint16>(32, entry.data() + 6); // bits per pixel
        qToLittleEndian<quint32>(image.size(), entry.data() + 8);
        qToLittleEndian<quint32>(6 + 16 * sizes.size() + images.size(), entry.data() + 12);
        entries += entry;
        images += image;
    }
    return header + entries + images;
}

bool write(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR SIZE...\n", argv[0]);
        return EXIT_FAILURE;
    }
    const QImage icon = pp::IconDesign();
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString path = dir + QStringLiteral("/%1.png").arg(size);
        if (size < 1 || !DrawIcon(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return EXIT_FAILURE;
        }
    }
    if (!write(dir + QStringLiteral("/icon.svg"), svg(icon)) ||
        !write(dir + QStringLiteral("/icon.ico"), ico())) {
        std::fprintf(stderr, "cannot write the icons in %s\n", qPrintable(dir));
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
