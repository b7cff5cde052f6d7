// The installed icons: real pictures of the size their folder names, and a scalable one that
// shows the same art.
#include "install/install_fixture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>

namespace install_test {
namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

QString pngIcon(int size) {
    return prefixed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId));
}

// Mean difference per channel, 0 to 255.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

class InstalledIcons : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(destDir().isEmpty()) << installError().toStdString(); }
};

TEST_F(InstalledIcons, EverySizeIsAPngOfThatSize) {
    for (int size : kSizes) {
        QImageReader reader(pngIcon(size));
        EXPECT_EQ(reader.format(), QByteArray("png")) << size;
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << size << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        // Drawn: an opaque tile in the middle, transparent corners.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    }
}

TEST_F(InstalledIcons, ScalableIconShowsTheSameArt) {
    QSvgRenderer svg(
        prefixed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kAppId)));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox().width(), svg.viewBox().height());
    for (int size : {48, 256}) {
        QImage drawn(size, size, QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        QPainter p(&drawn);
        svg.render(&p);
        p.end();
        const QImage png = QImage(pngIcon(size)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(png.size(), drawn.size());
        // Edges are smoothed a little differently; the art itself must match.
        EXPECT_LT(meanDifference(drawn, png), 4.0) << size;
    }
}

} // namespace
} // namespace install_test
