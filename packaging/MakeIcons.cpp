// Writes the program's icon as one PNG per size: MakeIcons FOLDER SIZE...
#include "art/Icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3 || !QDir().mkpath(arguments.at(1))) {
        std::fputs("usage: tivora-icons FOLDER SIZE...\n", stderr);
        return 2;
    }
    // The art is drawn on a 64-unit square.
    constexpr qreal kArtSize = 64;
    for (const QString& sizeText : arguments.mid(2)) {
        const int size = sizeText.toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / kArtSize, size / kArtSize);
        tivora::art::paintAppIcon(painter, QRectF(0, 0, kArtSize, kArtSize));
        painter.end();
        const QString file = arguments.at(1) + u'/' + sizeText + QStringLiteral(".png");
        if (size <= 0 || !image.save(file)) {
            std::fprintf(stderr, "tivora-icons: cannot write %s\n", qUtf8Printable(file));
            return 1;
        }
    }
    return 0;
}
