// Draws the application icon from its pixel art (assets/icon.xpm) as a scalable SVG and as
// PNGs. Every size keeps the pixels crisp: each output pixel takes the colour of the art's
// pixel under its centre (nearest neighbour), and the SVG draws each pixel as a square.
//
//   render_icon ART.xpm OUT.svg SIZE:OUT.png...
#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdio>

namespace {

QString svgOf(const QImage& art) {
    QString svg = QStringLiteral(
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                      "viewBox=\"0 0 %1 %2\" shape-rendering=\"crispEdges\">\n")
                      .arg(art.width())
                      .arg(art.height());
    for (int y = 0; y < art.height(); ++y) {
        // One rectangle per run of same-coloured pixels in a row.
        for (int x = 0; x < art.width();) {
            QRgb colour = art.pixel(x, y);
            int run = 1;
            while (x + run < art.width() && art.pixel(x + run, y) == colour) ++run;
            if (qAlpha(colour) != 0) {
                svg += QStringLiteral(
                           "<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"1\" "
                           "fill=\"%4\"/>\n")
                           .arg(x)
                           .arg(y)
                           .arg(run)
                           .arg(QColor(colour).name());
            }
            x += run;
        }
    }
    return svg + QStringLiteral("</svg>\n");
}

// The smallest rectangle that holds every pixel that is not fully transparent.
QRect opaqueBounds(const QImage& art) {
    QRect bounds;
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            if (qAlpha(art.pixel(x, y)) != 0) bounds |= QRect(x, y, 1, 1);
    return bounds.isEmpty() ? art.rect() : bounds;
}

// A whole multiple of the art keeps it as drawn. Any other size draws only the opaque part
// (the transparent margin dropped), so that nearest-neighbour sampling keeps both edges of the
// tile instead of losing the one on the right or at the bottom.
QImage scaled(const QImage& art, int size) {
    QRect from = size % art.width() == 0 ? art.rect() : opaqueBounds(art);
    QImage out(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.setPixel(x, y,
                         art.pixel(from.x() + (2 * x + 1) * from.width() / (2 * size),
                                   from.y() + (2 * y + 1) * from.height() / (2 * size)));
    return out;
}

int fail(const QString& message) {
    std::fprintf(stderr, "render_icon: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail(QStringLiteral("usage: render_icon ART.xpm OUT.svg SIZE:OUT.png..."));
    QImage art;
    if (!art.load(QString::fromLocal8Bit(argv[1]), "XPM"))
        return fail(QStringLiteral("cannot read %1").arg(argv[1]));
    art = art.convertToFormat(QImage::Format_ARGB32);

    QFile svg(QString::fromLocal8Bit(argv[2]));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) || svg.write(svgOf(art).toUtf8()) < 0)
        return fail(QStringLiteral("cannot write %1").arg(argv[2]));

    for (int i = 3; i < argc; ++i) {
        QString sizeAndPath = QString::fromLocal8Bit(argv[i]);
        int colon = sizeAndPath.indexOf(u':');
        bool ok = false;
        int size = sizeAndPath.left(colon).toInt(&ok);
        if (colon < 0 || !ok || size <= 0)
            return fail(QStringLiteral("bad size in %1").arg(sizeAndPath));
        if (!scaled(art, size).save(sizeAndPath.mid(colon + 1), "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(sizeAndPath.mid(colon + 1)));
    }
    return 0;
}
