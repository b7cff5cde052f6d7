// The skinned windows take their shape from the art's alpha channel, so that a desktop that
// ignores masks (Wayland) shows the desktop, not a painted colour, around the rounded outline.
#include "app/files/file_list.h"
#include "gui/window/frm_main.h"
#include "gui/window/frm_options.h"
#include "gui/window/skin.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// The window as a desktop that ignores its mask composes it: every pixel it paints, children
// included, over nothing.
QImage composed(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    w.render(&p, QPoint(), QRegion(),
             QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    return image;
}

} // namespace

TEST(WindowShape, OnlyX11TakesAMask) {
    EXPECT_TRUE(platformTakesShapeMask(u"xcb"));
    for (const char16_t* other : {u"wayland", u"wayland-egl", u"offscreen", u"eglfs", u""})
        EXPECT_FALSE(platformTakesShapeMask(other)) << QString::fromUtf16(other).toStdString();
}

TEST(WindowShape, NothingButTheOutlineIsPaintedAndNoMaskStandsInForTheAlpha) {
    ASSERT_FALSE(platformTakesShapeMask(QGuiApplication::platformName()));
    FileList list;
    frmMain main(list);
    frmOptions options;
    for (QWidget* w : std::initializer_list<QWidget*>{&main, &options}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(w->mask().isEmpty());
        const QImage image = composed(*w);
        const QRegion shape = shapeRegion(skin::windowOutline(w->size()), w->size());
        int outside = 0;
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (shape.contains(QPoint(x, y)))
                    continue;
                ++outside;
                painted += qAlpha(image.pixel(x, y)) != 0;
            }
        }
        EXPECT_GT(outside, 0) << "the corners are rounded";
        EXPECT_EQ(painted, 0) << "pixels outside the outline that the desktop would show";
        const QRect r = w->rect();
        for (QPoint inside : {r.center(), QPoint(r.center().x(), 1), QPoint(1, r.center().y()),
                              QPoint(r.right() - 1, r.center().y())})
            EXPECT_EQ(qAlpha(image.pixel(inside)), 255) << inside.x() << "," << inside.y();
    }
}
