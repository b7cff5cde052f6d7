#pragma once

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <ostream>

inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "QPoint(" << p.x() << ", " << p.y() << ")";
}

inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << "QSize(" << s.width() << " x " << s.height() << ")";
}

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace uitest {

// Mouse events as the window system would deliver them to the widget under the pointer;
// QApplication passes them on to parents exactly as for real input.
inline void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button,
                  Qt::MouseButtons held, QPoint global) {
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void move(QWidget* w, QPoint local, Qt::MouseButtons held = Qt::NoButton) {
    mouse(w, QEvent::MouseMove, local, Qt::NoButton, held, w->mapToGlobal(local));
}

inline void moveTo(QWidget* w, Qt::MouseButtons held = Qt::NoButton) {
    move(w, w->rect().center(), held);
}

inline void press(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton,
          w->mapToGlobal(local));
}

inline void release(QWidget* w, QPoint local) {
    mouse(w, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton,
          w->mapToGlobal(local));
}

inline void click(QWidget* w) {
    press(w, w->rect().center());
    release(w, w->rect().center());
}

// Something is painted in r: enough pixels differ clearly from the pixel at its corner.
inline int inkedPixels(const QImage& picture, const QRect& r) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb ground = image.pixel(r.topLeft());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (std::abs(qRed(c) - qRed(ground)) + std::abs(qGreen(c) - qGreen(ground)) +
                    std::abs(qBlue(c) - qBlue(ground)) >
                120)
                ++count;
        }
    return count;
}

} // namespace uitest
