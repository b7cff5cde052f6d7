// Draws the installed icons with the painter of the window's own icon, so the two never differ:
// OUTDIR/hicolor/NxN/apps/NAME.png for each SIZE and OUTDIR/hicolor/scalable/apps/NAME.svg.
// Usage: make_icons OUTDIR NAME SIZE...
#include "gui/window/skin.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int kSvgSize = 256;

bool fail(const QString& path, const char* why) {
    std::fprintf(stderr, "make_icons: %s: %s\n", qPrintable(path), why);
    return false;
}

QString iconFolder(const QString& root, const QString& sizeName) {
    return root + QStringLiteral("/hicolor/") + sizeName + QStringLiteral("/apps");
}

bool writePng(const QString& root, const QString& name, int size) {
    const QString folder = iconFolder(root, QStringLiteral("%1x%1").arg(size));
    if (!QDir().mkpath(folder))
        return fail(folder, "cannot create the folder");
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    skin::paintAppIcon(p, size);
    p.end();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
        return fail(path, "cannot write the picture");
    return true;
}

bool writeSvg(const QString& root, const QString& name) {
    const QString folder = iconFolder(root, QStringLiteral("scalable"));
    if (!QDir().mkpath(folder))
        return fail(folder, "cannot create the folder");
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".svg");
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return fail(path, "cannot write the picture");
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(QSize(kSvgSize, kSvgSize));
        svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
        svg.setTitle(QStringLiteral("Pelkora"));
        QPainter p;
        if (!p.begin(&svg))
            return fail(path, "cannot paint the picture");
        skin::paintAppIcon(p, kSvgSize);
        p.end();
    }
    if (!out.commit())
        return fail(path, "cannot write the picture");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fputs("usage: make_icons OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = writeSvg(root, name);
    for (int i = 3; i < argc; ++i) {
        bool number = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&number);
        if (!number || size < 1 || size > 1024) {
            std::fprintf(stderr, "make_icons: %s: not an icon size\n", argv[i]);
            return 2;
        }
        ok = writePng(root, name, size) && ok;
    }
    return ok ? 0 : 1;
}
