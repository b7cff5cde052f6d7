#include "gui/window/widgets.h"

#include "gui/window/skin.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void ImageButton::setPicture(const QPixmap& picture) {
    if (picture_.cacheKey() == picture.cacheKey() && !picture_.isNull())
        return;
    picture_ = picture;
    update();
}

void ImageButton::clearPicture() {
    if (picture_.isNull())
        return;
    picture_ = QPixmap();
    update();
}

bool ImageButton::showsPicture(const QPixmap& store) const {
    return !picture_.isNull() && picture_.cacheKey() == store.cacheKey();
}

QSize ImageButton::sizeHint() const {
    return picture_.isNull() ? QSize(16, 16) : picture_.deviceIndependentSize().toSize();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull())
        p.drawPixmap(QPoint(0, 0), picture_);
    if (!isEnabled()) {
        // The face is part of the background; a wash shows that it does not answer now.
        p.fillRect(rect(), disabledWash_);
    }
    if (keyboardFocus_ && hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(skin::colour::accent, 1.5, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    // Accept every move so that it never reaches the window background, whose move handler
    // resets all looks; a held button still drives the pressed state.
    emit mouseMoved();
    if (event->buttons() & Qt::LeftButton)
        QAbstractButton::mouseMoveEvent(event);
    event->accept();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    // Space works through QAbstractButton; Enter does the same here, as on any other button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ImageButton::focusInEvent(QFocusEvent* event) {
    keyboardFocus_ = event->reason() == Qt::TabFocusReason ||
                     event->reason() == Qt::BacktabFocusReason ||
                     event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
    update();
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
    update();
}

FitLabel::FitLabel(QWidget* parent) : QLabel(parent), preferred_(font()) {}

void FitLabel::setPreferredFont(const QFont& font) {
    preferred_ = font;
    fit();
}

void FitLabel::setText(const QString& text) {
    QLabel::setText(text);
    fit();
}

void FitLabel::fit() {
    fittedText_ = text();
    const QFont fitted = skin::fittedFont(preferred_, fittedText_, contentsRect().size());
    if (fitted != font())
        setFont(fitted);
}

void FitLabel::paintEvent(QPaintEvent* event) {
    if (text() != fittedText_)
        fit();
    QLabel::paintEvent(event);
}

void FitLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {}

QString ElidedLabel::shownText() const {
    const QRect box = contentsRect();
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, box.width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    p.setFont(font());
    p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

bool ElidedLabel::event(QEvent* event) {
    // Only a shortened text needs its whole self shown apart.
    if (event->type() == QEvent::ToolTip) {
        if (shownText() == text()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        }
        return true;
    }
    return QLabel::event(event);
}

LinkLabel::LinkLabel(QWidget* parent) : FitLabel(parent) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && isEnabled())
        emit clicked();
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    event->accept();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        emit clicked();
        event->accept();
        return;
    }
    FitLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    FitLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    p.setPen(QPen(skin::colour::accent, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

ProgressFill::ProgressFill(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(tr("Progress"));
}

void ProgressFill::setPercent(double percent) {
    const int whole =
        std::isfinite(percent) ? static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0))) : 0;
    if (whole == percent_)
        return;
    percent_ = whole;
    QAccessibleValueChangeEvent changed(this, percent_);
    QAccessible::updateAccessibility(&changed);
}

void ProgressFill::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void ProgressFill::paintEvent(QPaintEvent*) {
    if (picture_.isNull() || width() <= 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), 3.5, 3.5);
    p.setClipPath(clip);
    p.drawPixmap(QRectF(rect()), picture_, QRectF(picture_.rect()));
}

SkinCheckBox::SkinCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

bool SkinCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void SkinCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 1.0;
    const QRectF box(0.5, 0.5, side, side);
    const bool on = isChecked();
    QColor fill = on ? skin::colour::accent : skin::colour::panel;
    QColor line = on ? skin::colour::accentDark : skin::colour::fieldLine;
    if (!isEnabled()) {
        fill = skin::colour::fieldDisabled;
        line = skin::colour::fieldDisabledLine;
    } else if (hasFocus()) {
        line = skin::colour::accentDark;
    }
    p.setPen(QPen(line, 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, 2.5, 2.5);
    if (on)
        skin::drawGlyph(p, skin::Glyph::Tick, box, skin::colour::inkOnAccent);
}
