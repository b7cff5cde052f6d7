#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegion>

#include <array>

class QPainter;

// The program's artwork, drawn at start-up for the screen's device-pixel ratio.
namespace skin {

namespace colour {
inline constexpr QRgb key = 0xFFFF00FF; // pure magenta: outside the window shape
inline const QColor headerTop{0x11, 0x3f, 0x3b};
inline const QColor headerBottom{0x0b, 0x2d, 0x2a};
inline const QColor outline{0x08, 0x22, 0x20};
inline const QColor accent{0x1f, 0xa3, 0x8f};
inline const QColor accentDark{0x14, 0x7a, 0x6b};
inline const QColor body{0xec, 0xf1, 0xf0};
inline const QColor panel{0xff, 0xff, 0xff};
inline const QColor panelLine{0xd3, 0xde, 0xdc};
inline const QColor fieldLine{0xb6, 0xc9, 0xc6};
inline const QColor ink{0x1d, 0x2e, 0x2c};
inline const QColor inkMuted{0x55, 0x6b, 0x68};
inline const QColor iconInk{0x2a, 0x6c, 0x64};
inline const QColor headerInk{0xd2, 0xe8, 0xe3};
} // namespace colour

// Tahoma where it exists, otherwise DejaVu Sans; sizes are in pixels because the windows
// are laid out in pixels.
[[nodiscard]] QFont font(int pixelSize, bool bold = false);
// The same in a narrower face, for texts that must fit a small fixed box.
[[nodiscard]] QFont narrowFont(int pixelSize, bool bold = false);

// Whether one line of text in the font fits the box.
[[nodiscard]] bool fits(const QFont& f, const QString& text, QSize box);
// The preferred font, made smaller until the text fits the box: where the named face is
// missing, or its metrics differ, the fallback must not clip a word.
[[nodiscard]] QFont fittedFont(const QFont& preferred, const QString& text, QSize box);

// The window shape: everything that is not pure magenta.
[[nodiscard]] QRegion colourKeyRegion(const QImage& picture);

// Main window. keyed == true paints the margin magenta (the picture the shape comes from);
// otherwise the margin takes the outline colour so that no pink fringe can show.
[[nodiscard]] QImage mainBackground(qreal dpr, bool keyed);

struct MainPictures {
    std::array<QPixmap, 7> imgButtonData; // toolbar hover faces by toolbar index
    std::array<QPixmap, 3> imgMenuData;
    QPixmap imgConvertData;
    QPixmap imgHelpLight;
    QPixmap imgMinLight;
    QPixmap imgExitLight;
    QPixmap imgBrowseLight;
    QPixmap imgBrowseDark;
    QPixmap imgButtonLight; // arrow box, hover
    QPixmap imgButton;      // arrow box, normal
    QPixmap progress;       // 1 x 15, stretched by the progress bar
};
// Hover and pressed pictures, cut from the given background (drawn at its device-pixel ratio).
[[nodiscard]] MainPictures mainPictures(const QImage& background);

[[nodiscard]] QImage optionsBackground(qreal dpr, bool keyed);

struct OptionsPictures {
    QPixmap imgOKLight;
    QPixmap imgBackLight;
    QPixmap imgExitLight;
    QPixmap imgButtonLight;
    QPixmap imgButton;
};
[[nodiscard]] OptionsPictures optionsPictures(const QImage& background);

[[nodiscard]] QIcon windowIcon();
// The program's icon on a size x size square; the installed icons are drawn with it too.
void paintAppIcon(QPainter& p, qreal size);

// Style sheet for the standard controls placed on the skin.
[[nodiscard]] QString controlStyleSheet();

} // namespace skin
