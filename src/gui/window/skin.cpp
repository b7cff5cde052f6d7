#include "gui/window/skin.h"

#include "gui/window/layout.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cmath>

// The glyphs live in a static library: its resources are registered by hand, outside any
// namespace.
static void registerGlyphResources() {
    Q_INIT_RESOURCE(glyphs);
}

namespace skin {
namespace {

QSize devicePixels(QSize logical, qreal dpr) {
    return QSize(static_cast<int>(std::ceil(logical.width() * dpr)),
                 static_cast<int>(std::ceil(logical.height() * dpr)));
}

QImage canvas(QSize logical, qreal dpr, const QColor& fill) {
    QImage image(devicePixels(logical, dpr), QImage::Format_ARGB32_Premultiplied);
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

const QByteArray& glyphSource(Glyph glyph) {
    static const std::array<QByteArray, kGlyphCount> sources = [] {
        registerGlyphResources();
        static const char* const names[kGlyphCount] = {
            "add-file",    "add-folder",   "remove", "options",    "help",
            "exit",        "play",         "folder", "title-help", "title-minimise",
            "title-close", "chevron-down", "tick",   "logo"};
        std::array<QByteArray, kGlyphCount> loaded;
        for (int i = 0; i < kGlyphCount; ++i) {
            QFile file(QStringLiteral(":/skin/glyphs/%1.svg").arg(QLatin1String(names[i])));
            if (file.open(QIODevice::ReadOnly))
                loaded[static_cast<std::size_t>(i)] = file.readAll();
        }
        return loaded;
    }();
    return sources[static_cast<std::size_t>(glyph)];
}

struct ToolbarFace {
    Glyph glyph;
    const char* word;
};

ToolbarFace toolbarFace(int index) {
    switch (index) {
    case 0:
        return {Glyph::AddFile, QT_TRANSLATE_NOOP("Skin", "Add File")};
    case 6:
        return {Glyph::AddFolder, QT_TRANSLATE_NOOP("Skin", "Add Folder")};
    case 1:
        return {Glyph::Remove, QT_TRANSLATE_NOOP("Skin", "Remove")};
    case 2:
        return {Glyph::Options, QT_TRANSLATE_NOOP("Skin", "Options")};
    case 3:
        return {Glyph::Help, QT_TRANSLATE_NOOP("Skin", "Help")};
    default:
        return {Glyph::Exit, QT_TRANSLATE_NOOP("Skin", "Exit")};
    }
}

// A word that looks the same whatever its button does.
Caption plain(const char* text, const QRect& box, int flags, const QFont& f, const QColor& ink) {
    return {text, box, flags, f, ink, {}, {}, {}};
}

// The washes of disabled buttons (ImageButton's default, and the menu titles' own).
const QColor kToolbarWash(0xf4, 0xf7, 0xf6, 150);
const QColor kMenuWash(0x0b, 0x2d, 0x2a, 150);

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
}

const char* menuWord(int index) {
    static const char* const words[3] = {QT_TRANSLATE_NOOP("Skin", "File"),
                                         QT_TRANSLATE_NOOP("Skin", "Options"),
                                         QT_TRANSLATE_NOOP("Skin", "About")};
    return words[index];
}

void paintMenuTitle(QPainter& p, const QRect& r, bool lit) {
    if (lit) {
        QPainterPath bg;
        bg.addRoundedRect(QRectF(r), 4, 4);
        p.fillPath(bg, QColor(0x2a, 0x6e, 0x66));
    }
}

// The Convert button's face; during a run the same button is Stop.
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
}

constexpr qreal kConvertIcon = 30;
constexpr qreal kConvertGap = 10;

QSize convertWordBox(QSize button) {
    return QSize(button.width() - static_cast<int>(kConvertIcon + kConvertGap) - 16,
                 button.height());
}

enum class Look { Normal, Lit, Pressed };

void paintBrowse(QPainter& p, const QRect& r, Look look) {
    QPainterPath face;
    face.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    QColor fill(0xf4, 0xf8, 0xf7);
    QColor line = colour::fieldLine;
    QColor ink = colour::iconInk;
    if (look == Look::Lit) {
        fill = colour::hoverFill;
        line = colour::accent;
        ink = colour::accentDark;
    } else if (look == Look::Pressed) {
        fill = colour::accentDark;
        line = colour::accentDark;
        ink = colour::inkOnAccent;
    }
    p.fillPath(face, fill);
    p.strokePath(face, QPen(line, 1));
    drawGlyph(p, Glyph::Folder, QRectF(r.center().x() - 7.5, r.center().y() - 7.5, 16, 16), ink);
}

enum class TitleButton { Help, Minimise, Close };

void paintTitleButton(QPainter& p, const QRect& r, TitleButton which, bool lit) {
    const QRectF box = QRectF(r);
    QColor ink = colour::headerInk;
    p.setBrush(Qt::NoBrush);
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(which == TitleButton::Close ? QColor(0xe0, 0x55, 0x4d)
                                               : QColor(0x2f, 0x83, 0x79));
        p.drawEllipse(box.adjusted(0.25, 0.25, -0.25, -0.25));
        ink = Qt::white;
    } else if (which == TitleButton::Help) {
        p.setPen(strokePen(ink, 1.5));
        p.drawEllipse(box.adjusted(0.75, 0.75, -0.75, -0.75));
    }
    static const Glyph marks[] = {Glyph::TitleHelp, Glyph::TitleMinimise, Glyph::TitleClose};
    // The marks are drawn on a 16-pixel square about the button's centre.
    const QPointF c = box.center();
    drawGlyph(p, marks[static_cast<int>(which)], QRectF(c.x() - 8, c.y() - 8, 16, 16), ink);
}

void paintArrowBox(QPainter& p, QSize size, bool lit) {
    const QRectF box(0.5, 0.5, size.width() - 2, size.height() - 2);
    QPainterPath face;
    face.addRoundedRect(box, 3, 3);
    p.fillPath(face, lit ? colour::accent : QColor(0xe6, 0xf2, 0xef));
    const QPointF c = box.center();
    drawGlyph(p, Glyph::ChevronDown, QRectF(c.x() - 5, c.y() - 5, 10, 10),
              lit ? colour::inkOnAccent : colour::iconInk);
}

// The outline ring and the rounded body within it; the body is returned for the art to clip to.
QPainterPath windowBody(QPainter& p, QSize client) {
    smooth(p);
    p.fillPath(windowOutline(client), colour::outline);
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
    drawGlyph(p, Glyph::Logo, QRectF(16, 7, 19, 19));
    p.setPen(Qt::white);
    drawWord(p, QRect(41, 2, 72, 28), Qt::AlignLeft | Qt::AlignVCenter, font(16, true),
             QStringLiteral("Pelkora"));
    p.fillRect(QRectF(8, 28.5, width - 16, 1), QColor(255, 255, 255, 18));
    for (int i = 0; i < 3; ++i)
        paintMenuTitle(p, L::imgMenu[static_cast<std::size_t>(i)], false);
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

    paintBrowse(p, L::imgBrowse, Look::Normal);
    paintConvert(p, L::imgConvert, false);

    // Progress bar frame.
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
    paintTitleButton(p, L::imgExit, TitleButton::Close, false);
}

} // namespace

std::vector<Caption> optionsCaptions() {
    namespace L = layout::options;
    std::vector<Caption> out;
    out.push_back(plain(QT_TRANSLATE_NOOP("Skin", "Options"), QRect(14, 0, 200, 29),
                        Qt::AlignLeft | Qt::AlignVCenter, font(13, true), Qt::white));

    auto label = [&out](const QRect& r, const char* text, bool strong, int flags) {
        out.push_back(plain(text, r, flags, font(strong ? 11 : 10, strong),
                            strong ? colour::ink : colour::inkMuted));
    };
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    label(QRect(14, L::cmbSR.top(), 128, L::cmbSR.height()),
          QT_TRANSLATE_NOOP("Skin", "Sound Reminder"), true, left);
    label(QRect(14, L::chkMC.top() - 3, 128, L::chkMC.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "Music Cutter"), true, left);
    label(QRect(L::chkMC.right() + 7, L::chkMC.top() - 3, 150, L::chkMC.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "Convert only part of each file"), false, left);
    label(QRect(14, L::txtFromH.top(), 76, L::txtFromH.height()), QT_TRANSLATE_NOOP("Skin", "From"),
          true, left);
    label(QRect(14, L::txtToH.top(), 76, L::txtToH.height()), QT_TRANSLATE_NOOP("Skin", "Duration"),
          true, left);
    for (const QRect* row : {&L::txtFromH, &L::txtToH}) {
        const int top = row->top();
        const int h = row->height();
        label(QRect(L::txtFromH.right() + 4, top, 40, h), QT_TRANSLATE_NOOP("Skin", "Hour"), false,
              left);
        label(QRect(L::txtFromM.right() + 4, top, 34, h), QT_TRANSLATE_NOOP("Skin", "Min"), false,
              left);
        label(QRect(L::txtFromS.right() + 4, top, 34, h), QT_TRANSLATE_NOOP("Skin", "Sec"), false,
              left);
    }
    label(QRect(14, L::cmbJobs.top(), L::cmbJobs.left() - 18, L::cmbJobs.height()),
          QT_TRANSLATE_NOOP("Skin", "Simultaneous conversions"), true, left);
    label(QRect(14, L::chkKeep.top() - 3, L::chkKeep.left() - 18, L::chkKeep.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "Keep sub-folders"), true, left);
    label(QRect(L::chkKeep.right() + 7, L::chkKeep.top() - 3,
                L::client.width() - L::chkKeep.right() - 14, L::chkKeep.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "of an added folder"), false, left);
    label(QRect(14, L::chkSync.top() - 3, L::chkSync.left() - 18, L::chkSync.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "Only new and changed files"), true, left);
    label(QRect(L::chkSync.right() + 7, L::chkSync.top() - 3,
                L::client.width() - L::chkSync.right() - 14, L::chkSync.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "since the last run"), false, left);
    label(QRect(14, L::chkReplayGain.top() - 3, L::chkReplayGain.left() - 18,
                L::chkReplayGain.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "ReplayGain tags"), true, left);
    label(QRect(L::chkReplayGain.right() + 7, L::chkReplayGain.top() - 3,
                L::client.width() - L::chkReplayGain.right() - 14, L::chkReplayGain.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "track and album loudness"), false, left);
    label(QRect(14, L::chkOpenFolder.top() - 3, L::chkOpenFolder.left() - 18,
                L::chkOpenFolder.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "Open the output folder"), true, left);
    label(QRect(L::chkOpenFolder.right() + 7, L::chkOpenFolder.top() - 3,
                L::client.width() - L::chkOpenFolder.right() - 14, L::chkOpenFolder.height() + 6),
          QT_TRANSLATE_NOOP("Skin", "when done"), false, left);
    label(QRect(14, L::cmbNames.top(), L::cmbNames.left() - 18, L::cmbNames.height()),
          QT_TRANSLATE_NOOP("Skin", "File names"), true, left);
    return out;
}

namespace {

void paintDialogButton(QPainter& p, const QRect& r, bool primary, bool lit) {
    QPainterPath face;
    face.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    if (primary) {
        p.fillPath(face, lit ? QColor(0x2c, 0xc0, 0xa8) : colour::accent);
        p.strokePath(face, QPen(colour::accentDark, 1));
    } else {
        p.fillPath(face, lit ? colour::hoverFill : colour::panel);
        p.strokePath(face, QPen(lit ? colour::accent : colour::fieldLine, 1));
    }
}

} // namespace

std::vector<Caption> mainCaptions() {
    namespace L = layout::main;
    std::vector<Caption> out;
    out.push_back(plain(QT_TRANSLATE_NOOP("Skin", "Input files"),
                        QRect(L::LV.left() + 1, 134, 200, 22), Qt::AlignLeft | Qt::AlignBottom,
                        font(12, true), colour::ink));
    out.push_back(plain(QT_TRANSLATE_NOOP("Skin", "Converted from the top down"),
                        QRect(L::LV.right() - 260, 134, 260, 21), Qt::AlignRight | Qt::AlignBottom,
                        font(10), colour::inkMuted));
    const std::pair<const QRect&, const char*> fields[] = {
        {L::cmbOF, QT_TRANSLATE_NOOP("Skin", "Output format")},
        {L::cmbBR, QT_TRANSLATE_NOOP("Skin", "Bitrate (kbps)")},
        {L::cmbR, QT_TRANSLATE_NOOP("Skin", "Sample rate (Hz)")},
        {L::cmbChannel, QT_TRANSLATE_NOOP("Skin", "Channels")},
        {L::txtPath, QT_TRANSLATE_NOOP("Skin", "Output folder")},
    };
    for (const auto& [field, text] : fields)
        out.push_back(plain(text, QRect(field.left() + 1, field.top() - 17, field.width(), 16),
                            Qt::AlignLeft | Qt::AlignBottom, font(10, true), colour::inkMuted));
    out.push_back(plain(QT_TRANSLATE_NOOP("Skin", "Progress"),
                        QRect(L::LV.left() + 1, L::imgPB.top() - 3, 90, L::imgPB.height() + 6),
                        Qt::AlignLeft | Qt::AlignVCenter, font(10, true), colour::inkMuted));
    return out;
}

Caption toolbarCaption(int index) {
    const QSize button = layout::main::imgToolbar[static_cast<std::size_t>(index)].size();
    return {toolbarFace(index).word,
            QRect(0, 31, button.width(), 16),
            Qt::AlignHCenter | Qt::AlignTop,
            font(11),
            colour::ink,
            font(11, true),
            colour::headerBottom,
            kToolbarWash};
}

Caption menuCaption(int index) {
    const QSize button = layout::main::imgMenu[static_cast<std::size_t>(index)].size();
    return {
        menuWord(index), QRect(QPoint(0, 0), button), Qt::AlignCenter, font(12), colour::headerInk,
        font(12),        QColor(Qt::white),           kMenuWash};
}

Caption dialogButtonCaption(bool primary) {
    const QRect r = primary ? layout::options::imgOK : layout::options::imgBack;
    return plain(primary ? QT_TRANSLATE_NOOP("Skin", "OK") : QT_TRANSLATE_NOOP("Skin", "Back"),
                 QRect(QPoint(0, 0), r.size()), Qt::AlignCenter, font(11, true),
                 primary ? colour::inkOnAccent : colour::ink);
}

Caption convertCaption(bool stop) {
    const QSize button = layout::main::imgConvert.size();
    return {stop ? QT_TRANSLATE_NOOP("Skin", "Stop") : QT_TRANSLATE_NOOP("Skin", "Convert"),
            QRect(QPoint(0, 0), convertWordBox(button)),
            Qt::AlignLeft | Qt::AlignVCenter,
            font(20, true),
            QColor(Qt::white),
            {},
            {},
            kToolbarWash};
}

void drawCaption(QPainter& p, const Caption& caption, const QString& shown, bool lit,
                 bool enabled) {
    const bool litLook = lit && caption.litInk.isValid();
    QColor ink = litLook ? caption.litInk : caption.ink;
    if (!enabled && caption.wash.isValid()) {
        // What the button's wash would have made of the ink, had the word been in the art.
        const qreal a = caption.wash.alphaF();
        ink = QColor::fromRgbF(ink.redF() * (1 - a) + caption.wash.redF() * a,
                               ink.greenF() * (1 - a) + caption.wash.greenF() * a,
                               ink.blueF() * (1 - a) + caption.wash.blueF() * a);
    }
    p.setPen(ink);
    drawWord(p, caption.box, caption.flags, litLook ? caption.litFont : caption.font, shown);
}

void drawConvertCaption(QPainter& p, const Caption& caption, const QString& shown, bool stop) {
    const QRect r(QPoint(0, 0), layout::main::imgConvert.size());
    const QFont f = fittedFont(caption.font, shown, caption.box.size());
    const int textWidth = QFontMetrics(f).horizontalAdvance(shown);
    const qreal left = r.center().x() + 0.5 - (kConvertIcon + kConvertGap + textWidth) / 2;
    const QRectF glyph(left, r.center().y() + 0.5 - kConvertIcon / 2, kConvertIcon, kConvertIcon);
    if (stop) {
        p.setPen(Qt::NoPen);
        p.setBrush(caption.ink);
        p.drawRoundedRect(glyph.adjusted(6, 6, -6, -6), 3, 3);
    } else {
        drawGlyph(p, Glyph::Play, glyph, caption.ink);
    }
    p.setPen(caption.ink);
    p.setFont(f);
    p.drawText(QRectF(left + kConvertIcon + kConvertGap, r.top(), textWidth + 4, r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, shown);
}

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

QPainterPath windowOutline(QSize client) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, client.width(), client.height()), 10, 10);
    return outline;
}

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink) {
    QByteArray source = glyphSource(glyph);
    source.replace("currentColor", ink.name().toLatin1());
    QSvgRenderer renderer(source);
    renderer.render(&p, box);
}

QImage mainBackground(qreal dpr) {
    QImage image = canvas(layout::main::client, dpr, Qt::transparent);
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
            facePicture(base, r, dpr, [&](QPainter& p) { paintMenuTitle(p, r, true); });
    }
    pics.imgConvertData = facePicture(base, L::imgConvert, dpr,
                                      [&](QPainter& p) { paintConvert(p, L::imgConvert, true); });
    pics.imgStop = facePicture(base, L::imgConvert, dpr,
                               [&](QPainter& p) { paintConvert(p, L::imgConvert, false); });
    pics.imgStopLight = facePicture(base, L::imgConvert, dpr,
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

QImage optionsBackground(qreal dpr) {
    QImage image = canvas(layout::options::client, dpr, Qt::transparent);
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
    drawGlyph(p, Glyph::Logo, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
}

QString controlStyleSheet() {
    // Each @name stands for the palette colour of that name.
    static const std::pair<const char*, const QColor*> names[] = {
        {"accent", &colour::accent},
        {"columnHeader", &colour::columnHeader},
        {"columnHeaderInk", &colour::columnHeaderInk},
        {"columnHeaderLine", &colour::columnHeaderLine},
        {"comboDisabled", &colour::comboDisabled},
        {"field", &colour::field},
        {"fieldDisabled", &colour::fieldDisabled},
        {"fieldDisabledLine", &colour::fieldDisabledLine},
        {"fieldLine", &colour::fieldLine},
        {"ink", &colour::ink},
        {"inkDisabled", &colour::inkDisabled},
        {"inkProblem", &colour::inkProblem},
        {"inkOnAccent", &colour::inkOnAccent},
        {"panel", &colour::panel},
        {"panelLine", &colour::panelLine},
        {"rowAlternate", &colour::rowAlternate},
        {"scrollHandle", &colour::scrollHandle},
        {"scrollHandleHover", &colour::scrollHandleHover},
        {"scrollTrack", &colour::scrollTrack},
    };
    static const QRegularExpression token(QStringLiteral("@([A-Za-z]+)"));
    const QString pattern = QStringLiteral(R"(
QComboBox {
    border: 1px solid @fieldLine; border-radius: 4px; padding: 1px 24px 1px 7px;
    background: @panel; color: @ink;
}
QComboBox:focus { border-color: @accent; }
QComboBox:disabled { background: @comboDisabled; color: @inkDisabled; }
QComboBox::drop-down { border: none; width: 22px; }
QComboBox::down-arrow { image: none; width: 0px; height: 0px; }
QComboBox QAbstractItemView {
    border: 1px solid @fieldLine; background: @panel; color: @ink; outline: 0;
    selection-background-color: @accent; selection-color: @inkOnAccent;
}
QLineEdit {
    border: 1px solid @fieldLine; border-radius: 4px; padding: 0px 5px;
    background: @field; color: @ink; selection-background-color: @accent;
}
QLineEdit:focus { border-color: @accent; }
QLineEdit:disabled { background: @fieldDisabled; color: @inkDisabled; border-color: @fieldDisabledLine; }
QComboBox QLineEdit { border: none; padding: 0px; background: transparent; }
QTreeView {
    border: 1px solid @panelLine; background: @panel; alternate-background-color: @rowAlternate;
    color: @ink; outline: 0;
    selection-background-color: @accent; selection-color: @inkOnAccent;
}
QTreeView::item { padding: 2px 4px; border: none; }
QTreeView::item:selected { background: @accent; color: @inkOnAccent; }
QHeaderView::section {
    background: @columnHeader; color: @columnHeaderInk; border: none;
    border-bottom: 1px solid @panelLine; border-right: 1px solid @columnHeaderLine;
    padding: 3px 6px; font-weight: bold;
}
QScrollBar:vertical { background: @scrollTrack; width: 10px; margin: 0px; }
QScrollBar:horizontal { background: @scrollTrack; height: 10px; margin: 0px; }
QScrollBar::handle { background: @scrollHandle; border-radius: 3px; margin: 2px; }
QScrollBar::handle:hover { background: @scrollHandleHover; }
QScrollBar::handle:vertical { min-height: 24px; }
QScrollBar::handle:horizontal { min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QLabel[problem="true"] { color: @inkProblem; }
QMenu {
    background: @panel; border: 1px solid @fieldLine; padding: 4px 0px; color: @ink;
}
QMenu::item { padding: 5px 24px 5px 18px; }
QMenu::item:selected { background: @accent; color: @inkOnAccent; }
QMenu::separator { height: 1px; background: @panelLine; margin: 4px 8px; }
)");
    QString sheet;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : token.globalMatch(pattern)) {
        sheet += pattern.mid(from, m.capturedStart() - from);
        const auto* named = std::find_if(std::begin(names), std::end(names), [&](const auto& n) {
            return m.capturedView(1) == QLatin1String(n.first);
        });
        // A name not in the palette stays as it is, and Qt then drops that declaration.
        sheet += named != std::end(names) ? named->second->name() : m.captured(0);
        from = m.capturedEnd();
    }
    return sheet + pattern.mid(from);
}

} // namespace skin
