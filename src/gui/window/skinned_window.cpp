#include "gui/window/skinned_window.h"

#include "gui/window/accessibility.h"
#include "gui/window/skin.h"
#include "gui/window/widgets.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

QPoint placeWindow(const QRect& available, QSize window) {
    const int x = available.left() + (available.width() - window.width()) / 2;
    const int y = available.top() + (available.height() - window.height()) / 2;
    return {std::max(x, available.left()), std::max(y, available.top())};
}

QRegion shapeRegion(const QPainterPath& outline, QSize size) {
    QImage coverage(size, QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    QPainter p(&coverage);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(outline, Qt::black);
    p.end();
    // MaskInColor sets the bits of the transparent pixels, which QBitmap takes as colour 0.
    return QRegion(
        QBitmap::fromImage(coverage.createMaskFromColor(qRgba(0, 0, 0, 0), Qt::MaskInColor)));
}

bool platformTakesShapeMask(QStringView platform) {
    return platform == u"xcb";
}

template <typename Frame>
SkinnedWindow<Frame>::SkinnedWindow(QWidget* parent, Qt::WindowFlags flags, QSize client)
    : Frame(parent, flags | Qt::FramelessWindowHint), drag_(this) {
    accessibility::install();
    this->setFixedSize(client);
    this->setMouseTracking(true);
    // The outline's antialiased edge blends with the desktop beneath.
    this->setAttribute(Qt::WA_TranslucentBackground);
    this->setFont(skin::font(12));
    if (QScreen* s = this->screen())
        this->move(placeWindow(s->availableGeometry(), client));
}

template <typename Frame> qreal SkinnedWindow<Frame>::artScale() const {
    const QScreen* s = this->screen();
    return s != nullptr ? s->devicePixelRatio() : 1.0;
}

template <typename Frame> void SkinnedWindow<Frame>::setBackground(const QImage& art) {
    background_ = QPixmap::fromImage(art);
    background_.setDevicePixelRatio(art.devicePixelRatio());
    if (platformTakesShapeMask(QGuiApplication::platformName()))
        this->setMask(shapeRegion(skin::windowOutline(this->size()), this->size()));
    this->update();
}

template <typename Frame>
ImageButton* SkinnedWindow<Frame>::addButton(const QRect& where, const QString& name,
                                             const QString& tip, bool handCursor) {
    auto* button = new ImageButton(this);
    button->setGeometry(where);
    button->setAccessibleName(name);
    if (!tip.isEmpty())
        button->setToolTip(tip);
    if (handCursor)
        button->setCursor(Qt::PointingHandCursor);
    return button;
}

template <typename Frame>
void SkinnedWindow<Frame>::lightOnHover(ImageButton* button, const QPixmap& picture) {
    QObject::connect(button, &ImageButton::mouseMoved, this,
                     [button, &picture] { button->setPicture(picture); });
}

template <typename Frame> void SkinnedWindow<Frame>::styleControls() {
    this->setStyleSheet(skin::controlStyleSheet());
}

template <typename Frame> void SkinnedWindow<Frame>::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(QPoint(0, 0), background_);
}

template <typename Frame> void SkinnedWindow<Frame>::mousePressEvent(QMouseEvent* event) {
    drag_.press(*event);
    event->accept();
}

template <typename Frame> void SkinnedWindow<Frame>::mouseMoveEvent(QMouseEvent* event) {
    resetLooks();
    drag_.move(*event);
    event->accept();
}

template <typename Frame> void SkinnedWindow<Frame>::mouseReleaseEvent(QMouseEvent* event) {
    drag_.release();
    event->accept();
}

template class SkinnedWindow<QWidget>;
template class SkinnedWindow<QDialog>;
