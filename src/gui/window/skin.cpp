#include "gui/window/skin.h"

#include "gui/window/layout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace skin {
namespace {

enum class Glyph { AddFile, AddFolder, Remove, Options, Help, Exit, Play, Folder };

QSize devicePixels(QSize logical, qreal dpr) {
    return QSize(static_cast<int>(std::ceil(logical.width() * dpr)),
                 static_cast<int>(std::ceil(logical.height() * dpr)));
}

QImage canvas(QSize logical, qreal dpr, const QColor& fill,
              QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    QImage image(devicePixels(logical, dpr), format);
    image.setDevicePixelRatio(dpr);
    image.fill(fill);
    return image;
}

void smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPen strokePen(const QColor& c, qreal width) {
    QPen pen(c, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A word in its box, smaller where the face the system gives runs wider than the design.
void drawWord(QPainter& p, const QRect& box, int flags, const QFont& f, const QString& word) {
    p.setFont(fittedFont(f, word, box.size()));
    p.drawText(box, flags, word);
}

// Line icons on a 24 x 24 grid, scaled into box.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& c, qreal width = 1.8) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    p.setPen(strokePen(c, width));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::AddFile: {
        QPainterPath doc;
        doc.moveTo(13.5, 2.5);
        doc.lineTo(6, 2.5);
        doc.quadTo(4.5, 2.5, 4.5, 4);
        doc.lineTo(4.5, 20);
        doc.quadTo(4.5, 21.5, 6, 21.5);
        doc.lineTo(18, 21.5);
        doc.quadTo(19.5, 21.5, 19.5, 20);
        doc.lineTo(19.5, 8.5);
        doc.closeSubpath();
        p.drawPath(doc);
        p.drawPolyline(QPolygonF({{13.5, 2.5}, {13.5, 8.5}, {19.5, 8.5}}));
        p.drawLine(QPointF(12, 11.5), QPointF(12, 18));
        p.drawLine(QPointF(8.75, 14.75), QPointF(15.25, 14.75));
        break;
    }
    case Glyph::AddFolder:
    case Glyph::Folder: {
        QPainterPath folder;
        folder.moveTo(2.5, 6);
        folder.quadTo(2.5, 4.5, 4, 4.5);
        folder.lineTo(9, 4.5);
        folder.lineTo(11, 7);
        folder.lineTo(20, 7);
        folder.quadTo(21.5, 7, 21.5, 8.5);
        folder.lineTo(21.5, 18.5);
        folder.quadTo(21.5, 20, 20, 20);
        folder.lineTo(4, 20);
        folder.quadTo(2.5, 20, 2.5, 18.5);
        folder.closeSubpath();
        p.drawPath(folder);
        if (glyph == Glyph::AddFolder) {
            p.drawLine(QPointF(12, 10.5), QPointF(12, 16.5));
            p.drawLine(QPointF(9, 13.5), QPointF(15, 13.5));
        } else {
            p.drawLine(QPointF(2.5, 10), QPointF(21.5, 10));
        }
        break;
    }
    case Glyph::Remove: {
        p.drawLine(QPointF(3.5, 6.5), QPointF(20.5, 6.5));
        p.drawPolyline(QPolygonF({{9, 6.5}, {9, 3.5}, {15, 3.5}, {15, 6.5}}));
        QPainterPath can;
        can.moveTo(5.5, 6.5);
        can.lineTo(6.6, 19.6);
        can.quadTo(6.8, 21.5, 8.5, 21.5);
        can.lineTo(15.5, 21.5);
        can.quadTo(17.2, 21.5, 17.4, 19.6);
        can.lineTo(18.5, 6.5);
        p.drawPath(can);
        p.drawLine(QPointF(10, 10.5), QPointF(10, 17.5));
        p.drawLine(QPointF(14, 10.5), QPointF(14, 17.5));
        break;
    }
    case Glyph::Options: {
        const qreal rows[3] = {6, 12, 18};
        const qreal knobs[3] = {15.5, 8.5, 13};
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(3, rows[i]), QPointF(21, rows[i]));
        }
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(knobs[i], rows[i]), 2.4, 2.4);
        break;
    }
    case Glyph::Help: {
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        QPainterPath q;
        q.moveTo(9.2, 9.4);
        q.cubicTo(9.4, 6.2, 14.8, 6.2, 14.8, 9.4);
        q.cubicTo(14.8, 11.6, 12, 11.8, 12, 14.2);
        p.drawPath(q);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 17.4), 1.25, 1.25);
        break;
    }
    case Glyph::Exit: {
        QPainterPath arc;
        const QRectF ring(3.5, 4, 17, 17);
        arc.arcMoveTo(ring, 125);
        arc.arcTo(ring, 125, 290);
        p.drawPath(arc);
        p.drawLine(QPointF(12, 2.5), QPointF(12, 11));
        break;
    }
    case Glyph::Play: {
        p.drawEllipse(QPointF(12, 12), 10, 10);
        QPainterPath tri;
        tri.moveTo(9.6, 7.6);
        tri.lineTo(16.6, 12);
        tri.lineTo(9.6, 16.4);
        tri.closeSubpath();
        p.setBrush(c);
        p.drawPath(tri);
        break;
    }
    }
    p.restore();
}

void drawLogo(QPainter& p, const QRectF& r) {
    QPainterPath tile;
    const qreal radius = r.width() * 0.24;
    tile.addRoundedRect(r, radius, radius);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(0x34, 0xc9, 0xb1));
    g.setColorAt(1, QColor(0x12, 0x76, 0x68));
    p.fillPath(tile, g);
    // An equaliser: the sound the program turns from one form into another.
    const qreal heights[4] = {0.34, 0.62, 0.46, 0.74};
    const qreal barWidth = r.width() * 0.11;
    const qreal gap = r.width() * 0.075;
    const qreal total = 4 * barWidth + 3 * gap;
    qreal x = r.center().x() - total / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (qreal h : heights) {
        const qreal height = r.height() * h;
        p.drawRoundedRect(QRectF(x, r.center().y() - height / 2, barWidth, height), barWidth / 2,
                          barWidth / 2);
        x += barWidth + gap;
    }
}

struct ToolbarFace {
    Glyph glyph;
    const char* word;
};

ToolbarFace toolbarFace(int index) {
    switch (index) {
    case 0:
        return {Glyph::AddFile, "Add File"};
    case 6:
        return {Glyph::AddFolder, "Add Folder"};
    case 1:
        return {Glyph::Remove, "Remove"};
    case 2:
        return {Glyph::Options, "Options"};
    case 3:
        return {Glyph::Help, "Help"};
    default:
        return {Glyph::Exit, "Exit"};
    }
}

void paintToolbarButton(QPainter& p, const QRect& r, int index, bool lit) {
    const ToolbarFace face = toolbarFace(index);
    if (lit) {
        QPainterPath bg;
        bg.addRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 7, 7);
        p.fillPath(bg, QColor(0xdf, 0xf2, 0xee));
        p.strokePath(bg, QPen(QColor(0x9a, 0xd4, 0xc8), 1));
    }
    const QColor ink = lit ? colour::accentDark : colour::iconInk;
    drawGlyph(p, face.glyph, QRectF(r.center().x() - 11 + 0.5, r.top() + 6, 22, 22), ink);
    p.setPen(lit ? colour::headerBottom : colour::ink);
    drawWord(p, QRect(r.left(), r.top() + 31, r.width(), 16), Qt::AlignHCenter | Qt::AlignTop,
             font(11, lit), QString::fromLatin1(face.word));
}

const char* menuWord(int index) {
    static const char* const words[3] = {"File", "Options", "About"};
    return words[index];
}

void paintMenuTitle(QPainter& p, const QRect& r, int index, bool lit) {
    if (lit) {
        QPainterPath bg;
        bg.addRoundedRect(QRectF(r), 4, 4);
        p.fillPath(bg, QColor(0x2a, 0x6e, 0x66));
    }
    p.setPen(lit ? QColor(Qt::white) : colour::headerInk);
    drawWord(p, r, Qt::AlignCenter, font(12), QString::fromLatin1(menuWord(index)));
}

void paintConvert(QPainter& p, const QRect& r, bool lit) {
    QPainterPath face;
    const QRectF box = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    face.addRoundedRect(box, 10, 10);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, lit ? QColor(0x3a, 0xd0, 0xb8) : QColor(0x26, 0xb2, 0x9c));
    g.setColorAt(1, lit ? QColor(0x1c, 0x9b, 0x88) : QColor(0x15, 0x80, 0x70));
    p.fillPath(face, g);
    p.strokePath(face, QPen(lit ? QColor(0x15, 0x86, 0x75) : QColor(0x10, 0x6a, 0x5d), 1));
    // A thin light edge along the top gives the face some depth.
    p.save();
    p.setClipPath(face);
    p.strokePath(face.translated(0, 1), QPen(QColor(255, 255, 255, lit ? 70 : 50), 1));
    p.restore();

    const qreal icon = 30;
    const qreal gap = 10;
    const QString word = QStringLiteral("Convert");
    const QFont f = fittedFont(font(20, true), word,
                               QSize(r.width() - static_cast<int>(icon + gap) - 16, r.height()));
    const int textWidth = QFontMetrics(f).horizontalAdvance(word);
    const qreal left = r.center().x() + 0.5 - (icon + gap + textWidth) / 2;
    drawGlyph(p, Glyph::Play, QRectF(left, r.center().y() + 0.5 - icon / 2, icon, icon), Qt::white,
              1.7);
    p.setPen(Qt::white);
    p.setFont(f);
    p.drawText(QRectF(left + icon + gap, r.top(), textWidth + 4, r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, word);
}

enum class Look { Normal, Lit, Pressed };

void paintBrowse(QPainter& p, const QRect& r, Look look) {
    QPainterPath face;
    face.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    QColor fill(0xf4, 0xf8, 0xf7);
    QColor line = colour::fieldLine;
    QColor ink = colour::iconInk;
    if (look == Look::Lit) {
        fill = QColor(0xdc, 0xf1, 0xec);
        line = colour::accent;
        ink = colour::accentDark;
    } else if (look == Look::Pressed) {
        fill = colour::accentDark;
        line = colour::accentDark;
        ink = Qt::white;
    }
    p.fillPath(face, fill);
    p.strokePath(face, QPen(line, 1));
    drawGlyph(p, Glyph::Folder, QRectF(r.center().x() - 7.5, r.center().y() - 7.5, 16, 16), ink,
              2.0);
}

enum class TitleButton { Help, Minimise, Close };

void paintTitleButton(QPainter& p, const QRect& r, TitleButton which, bool lit) {
    const QRectF box = QRectF(r);
    const QPointF c = box.center();
    QColor ink = colour::headerInk;
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(which == TitleButton::Close ? QColor(0xe0, 0x55, 0x4d)
                                               : QColor(0x2f, 0x83, 0x79));
        p.drawEllipse(box.adjusted(0.25, 0.25, -0.25, -0.25));
        ink = Qt::white;
    }
    p.setPen(strokePen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    const qreal s = box.width() * 0.22;
    switch (which) {
    case TitleButton::Help: {
        if (!lit)
            p.drawEllipse(box.adjusted(0.75, 0.75, -0.75, -0.75));
        QPainterPath q;
        q.moveTo(c.x() - 2.2, c.y() - 1.8);
        q.cubicTo(c.x() - 2.0, c.y() - 4.8, c.x() + 2.4, c.y() - 4.6, c.x() + 2.3, c.y() - 1.9);
        q.cubicTo(c.x() + 2.2, c.y() - 0.2, c.x(), c.y() - 0.2, c.x(), c.y() + 1.5);
        p.setPen(strokePen(ink, 1.4));
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(c.x(), c.y() + 3.6), 0.9, 0.9);
        break;
    }
    case TitleButton::Minimise:
        p.drawLine(QPointF(c.x() - s * 1.4, c.y() + 0.5), QPointF(c.x() + s * 1.4, c.y() + 0.5));
        break;
    case TitleButton::Close:
        p.drawLine(QPointF(c.x() - s, c.y() - s), QPointF(c.x() + s, c.y() + s));
        p.drawLine(QPointF(c.x() + s, c.y() - s), QPointF(c.x() - s, c.y() + s));
        break;
    }
}

void paintArrowBox(QPainter& p, QSize size, bool lit) {
    const QRectF box(0.5, 0.5, size.width() - 2, size.height() - 2);
    QPainterPath face;
    face.addRoundedRect(box, 3, 3);
    p.fillPath(face, lit ? colour::accent : QColor(0xe6, 0xf2, 0xef));
    const QPointF c = box.center();
    p.setPen(strokePen(lit ? QColor(Qt::white) : colour::iconInk, 1.6));
    p.drawPolyline(
        QPolygonF({{c.x() - 3.5, c.y() - 1.5}, {c.x(), c.y() + 2}, {c.x() + 3.5, c.y() - 1.5}}));
}

// Shape and base of a skinned window: a hard-edged outline (so the colour key leaves no
// blended fringe) around a smooth rounded body.
QPainterPath windowBody(QPainter& p, QSize client) {
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, client.width(), client.height()), 10, 10);
    p.fillPath(outer, colour::outline);
    smooth(p);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(1, 1, client.width() - 2, client.height() - 2), 9, 9);
    p.fillPath(inner, colour::body);
    return inner;
}

void paintHeader(QPainter& p, const QPainterPath& body, qreal height, qreal width) {
    QPainterPath band;
    band.addRect(QRectF(0, 0, width, height));
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, colour::headerTop);
    g.setColorAt(1, colour::headerBottom);
    p.fillPath(body.intersected(band), g);
}

void paintMainArt(QPainter& p, const QPainterPath& body) {
    namespace L = layout::main;
    const qreal width = L::client.width();

    // Title area and menu bar.
    paintHeader(p, body, 50, width);
    drawLogo(p, QRectF(16, 7, 19, 19));
    p.setPen(Qt::white);
    drawWord(p, QRect(41, 2, 72, 28), Qt::AlignLeft | Qt::AlignVCenter, font(16, true),
             QStringLiteral("Pelkora"));
    p.fillRect(QRectF(8, 28.5, width - 16, 1), QColor(255, 255, 255, 18));
    for (int i = 0; i < 3; ++i)
        paintMenuTitle(p, L::imgMenu[static_cast<std::size_t>(i)], i, false);
    paintTitleButton(p, L::imgHelp, TitleButton::Help, false);
    paintTitleButton(p, L::imgMin, TitleButton::Minimise, false);
    paintTitleButton(p, L::imgExit, TitleButton::Close, false);

    // Toolbar band.
    QLinearGradient band(0, 50, 0, 114);
    band.setColorAt(0, QColor(0xfb, 0xfd, 0xfc));
    band.setColorAt(1, QColor(0xf0, 0xf5, 0xf4));
    p.fillRect(QRectF(1, 50, width - 2, 64), band);
    p.fillRect(QRectF(1, 113, width - 2, 1), colour::panelLine);
    for (int index : L::toolbarOrder)
        paintToolbarButton(p, L::imgToolbar[static_cast<std::size_t>(index)], index, false);
    // Separators between the groups: files, list, settings, help and exit.
    p.setPen(QPen(colour::panelLine, 1));
    for (int after : {1, 2, 3}) {
        const QRect r = L::imgToolbar[static_cast<std::size_t>(after)];
        p.drawLine(QPointF(r.left() - 1.0, 64), QPointF(r.left() - 1.0, 100));
    }
    // The quiet right end of the toolbar carries the equaliser motif.
    {
        const qreal heights[] = {10, 18, 28, 20, 34, 24, 14, 26, 36, 22, 30, 16, 24, 12, 20, 8};
        qreal x = 562;
        p.setPen(Qt::NoPen);
        for (qreal h : heights) {
            QColor c = colour::accent;
            c.setAlpha(46);
            p.setBrush(c);
            p.drawRoundedRect(QRectF(x, 82 - h / 2, 4, h), 2, 2);
            x += 7.5;
        }
    }

    // Content panel: files on the left, settings on the right.
    QPainterPath panel;
    panel.addRoundedRect(QRectF(8.5, 121.5, width - 17, 346), 8, 8);
    p.fillPath(panel, colour::panel);
    p.strokePath(panel, QPen(colour::panelLine, 1));
    p.drawLine(QPointF(480.5, 134), QPointF(480.5, 456));

    p.setPen(colour::ink);
    drawWord(p, QRect(L::LV.left() + 1, 134, 200, 22), Qt::AlignLeft | Qt::AlignBottom,
             font(12, true), QStringLiteral("Input files"));
    p.setPen(colour::inkMuted);
    drawWord(p, QRect(L::LV.right() - 260, 134, 260, 21), Qt::AlignRight | Qt::AlignBottom,
             font(10), QStringLiteral("Converted from the top down"));

    struct Caption {
        const QRect& field;
        const char* text;
    };
    const Caption captions[] = {
        {L::cmbOF, "Output format"}, {L::cmbBR, "Bitrate (kbps)"},  {L::cmbR, "Sample rate (Hz)"},
        {L::cmbChannel, "Channels"}, {L::txtPath, "Output folder"},
    };
    p.setPen(colour::inkMuted);
    for (const Caption& c : captions)
        drawWord(p, QRect(c.field.left() + 1, c.field.top() - 17, c.field.width(), 16),
                 Qt::AlignLeft | Qt::AlignBottom, font(10, true), QString::fromLatin1(c.text));

    paintBrowse(p, L::imgBrowse, Look::Normal);
    paintConvert(p, L::imgConvert, false);

    // Progress bar frame.
    p.setPen(colour::inkMuted);
    drawWord(p, QRect(L::LV.left() + 1, L::imgPB.top() - 3, 90, L::imgPB.height() + 6),
             Qt::AlignLeft | Qt::AlignVCenter, font(10, true), QStringLiteral("Progress"));
    QPainterPath track;
    track.addRoundedRect(QRectF(L::imgPB).adjusted(-0.5, -0.5, 0.5, 0.5), 4, 4);
    p.fillPath(track, QColor(0xe8, 0xef, 0xed));
    p.strokePath(track, QPen(colour::panelLine, 1));
}

QPixmap toPixmap(const QImage& image) {
    QPixmap pm = QPixmap::fromImage(image);
    pm.setDevicePixelRatio(image.devicePixelRatio());
    return pm;
}

// A hover or pressed picture: the background under the control with the face drawn anew.
template <typename Paint>
QPixmap facePicture(const QImage& base, const QRect& r, qreal dpr, Paint paint) {
    QImage image = canvas(r.size(), dpr, Qt::transparent);
    QPainter p(&image);
    smooth(p);
    p.translate(-r.topLeft());
    p.drawImage(QPointF(0, 0), base);
    paint(p);
    p.end();
    return toPixmap(image);
}

template <typename Paint> QPixmap loosePicture(QSize size, qreal dpr, Paint paint) {
    QImage image = canvas(size, dpr, Qt::transparent);
    QPainter p(&image);
    smooth(p);
    paint(p);
    p.end();
    return toPixmap(image);
}

void paintOptionsArt(QPainter& p, const QPainterPath& body) {
    namespace L = layout::options;
    paintHeader(p, body, 29, L::client.width());
    p.setPen(Qt::white);
    drawWord(p, QRect(14, 0, 200, 29), Qt::AlignLeft | Qt::AlignVCenter, font(13, true),
             QStringLiteral("Options"));
    paintTitleButton(p, L::imgExit, TitleButton::Close, false);

    auto label = [&p](const QRect& r, const char* text, bool strong, int flags) {
        p.setPen(strong ? colour::ink : colour::inkMuted);
        drawWord(p, r, flags, font(strong ? 11 : 10, strong), QString::fromLatin1(text));
    };
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    label(QRect(14, L::cmbSR.top(), 128, L::cmbSR.height()), "Sound Reminder", true, left);
    label(QRect(14, L::chkMC.top() - 3, 128, L::chkMC.height() + 6), "Music Cutter", true, left);
    label(QRect(L::chkMC.right() + 7, L::chkMC.top() - 3, 150, L::chkMC.height() + 6),
          "Convert only part of each file", false, left);
    label(QRect(14, L::txtFromH.top(), 76, L::txtFromH.height()), "From", true, left);
    label(QRect(14, L::txtToH.top(), 76, L::txtToH.height()), "Duration", true, left);
    for (const QRect* row : {&L::txtFromH, &L::txtToH}) {
        const int top = row->top();
        const int h = row->height();
        label(QRect(L::txtFromH.right() + 4, top, 40, h), "Hour", false, left);
        label(QRect(L::txtFromM.right() + 4, top, 34, h), "Min", false, left);
        label(QRect(L::txtFromS.right() + 4, top, 34, h), "Sec", false, left);
    }
    label(QRect(14, L::cmbJobs.top(), L::cmbJobs.left() - 18, L::cmbJobs.height()),
          "Simultaneous conversions", true, left);
    label(QRect(14, L::chkKeep.top() - 3, L::chkKeep.left() - 18, L::chkKeep.height() + 6),
          "Keep sub-folders", true, left);
    label(QRect(L::chkKeep.right() + 7, L::chkKeep.top() - 3,
                L::client.width() - L::chkKeep.right() - 14, L::chkKeep.height() + 6),
          "of an added folder", false, left);
}

void paintDialogButton(QPainter& p, const QRect& r, bool primary, bool lit) {
    QPainterPath face;
    face.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    if (primary) {
        p.fillPath(face, lit ? QColor(0x2c, 0xc0, 0xa8) : colour::accent);
        p.strokePath(face, QPen(colour::accentDark, 1));
    } else {
        p.fillPath(face, lit ? QColor(0xdc, 0xf1, 0xec) : QColor(Qt::white));
        p.strokePath(face, QPen(lit ? colour::accent : colour::fieldLine, 1));
    }
    p.setPen(primary ? QColor(Qt::white) : colour::ink);
    drawWord(p, r, Qt::AlignCenter, font(11, true),
             primary ? QStringLiteral("OK") : QStringLiteral("Back"));
}

} // namespace

QFont font(int pixelSize, bool bold) {
    static const bool hasTahoma = QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    // DejaVu Sans runs wider and taller than Tahoma; one pixel less keeps the same fit.
    f.setPixelSize(hasTahoma ? pixelSize : std::max(8, pixelSize - 1));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

QFont narrowFont(int pixelSize, bool bold) {
    QFont f = font(pixelSize, bold);
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                   QStringLiteral("DejaVu Sans")});
    return f;
}

bool fits(const QFont& f, const QString& text, QSize box) {
    const QFontMetrics m(f);
    // The line box may overhang its box by a pixel at each edge: no glyph reaches that far.
    return m.horizontalAdvance(text) <= box.width() && m.height() <= box.height() + 2;
}

QFont fittedFont(const QFont& preferred, const QString& text, QSize box) {
    QFont f = preferred;
    if (f.pixelSize() <= 0)
        f.setPixelSize(QFontInfo(preferred).pixelSize());
    while (!fits(f, text, box) && f.pixelSize() > 1)
        f.setPixelSize(f.pixelSize() - 1);
    return f;
}

QRegion colourKeyRegion(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    // Spans of kept pixels per row; equal neighbouring rows merge into one taller band.
    std::vector<QRect> rects;
    std::vector<QRect> previous;
    std::vector<QRect> current;
    auto flush = [&rects](std::vector<QRect>& band) {
        rects.insert(rects.end(), band.begin(), band.end());
        band.clear();
    };
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        current.clear();
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && row[x] == colour::key)
                ++x;
            const int start = x;
            while (x < image.width() && row[x] != colour::key)
                ++x;
            if (x > start)
                current.emplace_back(start, y, x - start, 1);
        }
        const bool same = current.size() == previous.size() &&
                          std::equal(current.begin(), current.end(), previous.begin(),
                                     [](const QRect& a, const QRect& b) {
                                         return a.left() == b.left() && a.right() == b.right();
                                     });
        if (same) {
            for (QRect& r : previous)
                r.setBottom(y);
        } else {
            flush(previous);
            previous = current;
        }
    }
    flush(previous);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QImage mainBackground(qreal dpr, bool keyed) {
    QImage image =
        canvas(layout::main::picture, dpr, keyed ? QColor::fromRgb(colour::key) : colour::outline,
               QImage::Format_RGB32);
    QPainter p(&image);
    const QPainterPath body = windowBody(p, layout::main::client);
    paintMainArt(p, body);
    return image;
}

MainPictures mainPictures(const QImage& base) {
    namespace L = layout::main;
    const qreal dpr = base.devicePixelRatio();
    MainPictures pics;
    for (int index : L::toolbarOrder) {
        const QRect r = L::imgToolbar[static_cast<std::size_t>(index)];
        pics.imgButtonData[static_cast<std::size_t>(index)] =
            facePicture(base, r, dpr, [&](QPainter& p) { paintToolbarButton(p, r, index, true); });
    }
    for (int i = 0; i < 3; ++i) {
        const QRect r = L::imgMenu[static_cast<std::size_t>(i)];
        pics.imgMenuData[static_cast<std::size_t>(i)] =
            facePicture(base, r, dpr, [&](QPainter& p) { paintMenuTitle(p, r, i, true); });
    }
    pics.imgConvertData = facePicture(base, L::imgConvert, dpr,
                                      [&](QPainter& p) { paintConvert(p, L::imgConvert, true); });
    pics.imgHelpLight = facePicture(base, L::imgHelp, dpr, [&](QPainter& p) {
        paintTitleButton(p, L::imgHelp, TitleButton::Help, true);
    });
    pics.imgMinLight = facePicture(base, L::imgMin, dpr, [&](QPainter& p) {
        paintTitleButton(p, L::imgMin, TitleButton::Minimise, true);
    });
    pics.imgExitLight = facePicture(base, L::imgExit, dpr, [&](QPainter& p) {
        paintTitleButton(p, L::imgExit, TitleButton::Close, true);
    });
    pics.imgBrowseLight = facePicture(
        base, L::imgBrowse, dpr, [&](QPainter& p) { paintBrowse(p, L::imgBrowse, Look::Lit); });
    pics.imgBrowseDark = facePicture(
        base, L::imgBrowse, dpr, [&](QPainter& p) { paintBrowse(p, L::imgBrowse, Look::Pressed); });
    const QSize arrow = L::picButtonOF.size();
    pics.imgButton = loosePicture(arrow, dpr, [&](QPainter& p) { paintArrowBox(p, arrow, false); });
    pics.imgButtonLight =
        loosePicture(arrow, dpr, [&](QPainter& p) { paintArrowBox(p, arrow, true); });
    pics.progress = loosePicture(QSize(1, 15), dpr, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 15);
        g.setColorAt(0, QColor(0x4c, 0xd6, 0xbf));
        g.setColorAt(0.5, QColor(0x22, 0xaa, 0x95));
        g.setColorAt(1, QColor(0x17, 0x86, 0x76));
        p.fillRect(QRectF(0, 0, 1, 15), g);
    });
    return pics;
}

QImage optionsBackground(qreal dpr, bool keyed) {
    QImage image =
        canvas(layout::options::picture, dpr,
               keyed ? QColor::fromRgb(colour::key) : colour::outline, QImage::Format_RGB32);
    QPainter p(&image);
    const QPainterPath body = windowBody(p, layout::options::client);
    paintOptionsArt(p, body);
    // The faces of OK and Back belong to the picture, like every other painted face.
    paintDialogButton(p, layout::options::imgOK, true, false);
    paintDialogButton(p, layout::options::imgBack, false, false);
    return image;
}

OptionsPictures optionsPictures(const QImage& base) {
    namespace L = layout::options;
    const qreal dpr = base.devicePixelRatio();
    OptionsPictures pics;
    pics.imgOKLight = facePicture(base, L::imgOK, dpr,
                                  [&](QPainter& p) { paintDialogButton(p, L::imgOK, true, true); });
    pics.imgBackLight = facePicture(
        base, L::imgBack, dpr, [&](QPainter& p) { paintDialogButton(p, L::imgBack, false, true); });
    pics.imgExitLight = facePicture(base, L::imgExit, dpr, [&](QPainter& p) {
        paintTitleButton(p, L::imgExit, TitleButton::Close, true);
    });
    const QSize arrow = L::picButtonBR.size();
    pics.imgButton = loosePicture(arrow, dpr, [&](QPainter& p) { paintArrowBox(p, arrow, false); });
    pics.imgButtonLight =
        loosePicture(arrow, dpr, [&](QPainter& p) { paintArrowBox(p, arrow, true); });
    return pics;
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        paintAppIcon(p, size);
        p.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void paintAppIcon(QPainter& p, qreal size) {
    smooth(p);
    const qreal inset = size * 0.04;
    drawLogo(p, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
}

QString controlStyleSheet() {
    return QStringLiteral(R"(
QComboBox {
    border: 1px solid #b6c9c6; border-radius: 4px; padding: 1px 24px 1px 7px;
    background: #ffffff; color: #1d2e2c;
}
QComboBox:focus { border-color: #1fa38f; }
QComboBox:disabled { background: #f1f5f4; color: #8a9b98; }
QComboBox::drop-down { border: none; width: 22px; }
QComboBox::down-arrow { image: none; width: 0px; height: 0px; }
QComboBox QAbstractItemView {
    border: 1px solid #b6c9c6; background: #ffffff; color: #1d2e2c; outline: 0;
    selection-background-color: #1fa38f; selection-color: #ffffff;
}
QLineEdit {
    border: 1px solid #b6c9c6; border-radius: 4px; padding: 0px 5px;
    background: #f7faf9; color: #1d2e2c; selection-background-color: #1fa38f;
}
QLineEdit:focus { border-color: #1fa38f; }
QLineEdit:disabled { background: #eef2f1; color: #8a9b98; border-color: #d0dbd9; }
QTreeView {
    border: 1px solid #d3dedc; background: #ffffff; alternate-background-color: #f5f9f8;
    color: #1d2e2c; outline: 0;
    selection-background-color: #1fa38f; selection-color: #ffffff;
}
QTreeView::item { padding: 2px 4px; border: none; }
QTreeView::item:selected { background: #1fa38f; color: #ffffff; }
QHeaderView::section {
    background: #f1f6f5; color: #3e5754; border: none;
    border-bottom: 1px solid #d3dedc; border-right: 1px solid #e2e9e8;
    padding: 3px 6px; font-weight: bold;
}
QScrollBar:vertical { background: #f4f7f6; width: 10px; margin: 0px; }
QScrollBar:horizontal { background: #f4f7f6; height: 10px; margin: 0px; }
QScrollBar::handle { background: #c2d3d0; border-radius: 3px; margin: 2px; }
QScrollBar::handle:hover { background: #9dbab5; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QMenu {
    background: #ffffff; border: 1px solid #b6c9c6; padding: 4px 0px; color: #1d2e2c;
}
QMenu::item { padding: 5px 24px 5px 18px; }
QMenu::item:selected { background: #1fa38f; color: #ffffff; }
QMenu::separator { height: 1px; background: #d3dedc; margin: 4px 8px; }
)");
}

} // namespace skin
