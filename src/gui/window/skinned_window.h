#pragma once

#include "gui/window/window_drag.h"

#include <QDialog>
#include <QPixmap>
#include <QRegion>
#include <QStringView>
#include <QWidget>

class ImageButton;
class QPainterPath;

// Where a window of the given size goes on a screen's available area: centred, but never with
// its top-left corner off the area, or its title bar could not be reached to drag it back.
[[nodiscard]] QPoint placeWindow(const QRect& available, QSize window);

// Every pixel the outline touches, even in part: the window's clickable area, and all that a
// desktop without a compositing manager shows of it (such a desktop cannot blend the edge).
[[nodiscard]] QRegion shapeRegion(const QPainterPath& outline, QSize size);

// Whether the platform plugin of that name cuts a window to its mask. The shape itself always
// comes from the art's alpha channel; X11 also needs the mask, for clicks on the corners and
// for desktops without a compositing manager. Elsewhere a mask adds nothing the alpha does not.
[[nodiscard]] bool platformTakesShapeMask(QStringView platform);

// A frameless window whose looks are one painted picture: translucent outside the skin's
// antialiased outline (its alpha channel, not a mask, gives the shape), moved by dragging its
// background, and with every button back to its painted face when the pointer reaches the
// background. Frame is QWidget or QDialog.
template <typename Frame> class SkinnedWindow : public Frame {
public:
    // Every button back to the face painted on the background.
    virtual void resetLooks() = 0;

    [[nodiscard]] const QPixmap& background() const { return background_; }

protected:
    SkinnedWindow(QWidget* parent, Qt::WindowFlags flags, QSize client);

    // The device-pixel ratio the art is to be painted for.
    [[nodiscard]] qreal artScale() const;
    // The painted picture, client-sized at artScale(), transparent outside the outline.
    void setBackground(const QImage& art);

    ImageButton* addButton(const QRect& where, const QString& name, const QString& tip,
                           bool handCursor);
    // The button shows the picture while the pointer is over it.
    void lightOnHover(ImageButton* button, const QPixmap& picture);
    // The skin's style sheet, set once the window's controls exist: set before them, it
    // polishes each as it is made, and the list's header came out in a larger font.
    void styleControls();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap background_;
    WindowDrag drag_;
};

extern template class SkinnedWindow<QWidget>;
extern template class SkinnedWindow<QDialog>;
