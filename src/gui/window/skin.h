#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <vector>

class QPainter;

// The program's artwork, drawn at start-up for the screen's device-pixel ratio. The glyphs are
// SVG pictures in the program's resources, so they are drawn sharp at any ratio.
namespace skin {

namespace colour {
// The window art.
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
inline const QColor inkProblem{0xb3, 0x3b, 0x2e};
inline const QColor inkOnAccent{0xff, 0xff, 0xff};
inline const QColor iconInk{0x2a, 0x6c, 0x64};
inline const QColor headerInk{0xd2, 0xe8, 0xe3};
inline const QColor hoverFill{0xdc, 0xf1, 0xec};
// The standard controls placed on the art.
inline const QColor field{0xf7, 0xfa, 0xf9};
inline const QColor comboDisabled{0xf1, 0xf5, 0xf4};
inline const QColor fieldDisabled{0xee, 0xf2, 0xf1};
inline const QColor fieldDisabledLine{0xd0, 0xdb, 0xd9};
inline const QColor inkDisabled{0x8a, 0x9b, 0x98};
inline const QColor rowAlternate{0xf5, 0xf9, 0xf8};
inline const QColor columnHeader{0xf1, 0xf6, 0xf5};
inline const QColor columnHeaderInk{0x3e, 0x57, 0x54};
inline const QColor columnHeaderLine{0xe2, 0xe9, 0xe8};
inline const QColor scrollTrack{0xf4, 0xf7, 0xf6};
inline const QColor scrollHandle{0xc2, 0xd3, 0xd0};
inline const QColor scrollHandleHover{0x9d, 0xba, 0xb5};
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

// A word of the skin, drawn as text over the art so that it can be translated: written in
// English, shown translated in the context "Skin".
struct Caption {
    const char* text;
    QRect box; // in the window, or in its button
    int flags;
    QFont font;
    QColor ink;
    QFont litFont; // while the pointer is over its button, when litInk is valid
    QColor litInk;
    QColor wash; // laid over the ink while its button does not answer
};
// The most a caption's font may shrink to fit a translation, in pixels.
inline constexpr int kMostCaptionShrink = 1;

// The main window's words on the art, in its coordinates.
[[nodiscard]] std::vector<Caption> mainCaptions();
// The words of the toolbar buttons (by toolbar index) and the menu titles, in their buttons.
[[nodiscard]] Caption toolbarCaption(int index);
[[nodiscard]] Caption menuCaption(int index);
// The Options window's words on the art, and those of its OK and Back buttons.
[[nodiscard]] std::vector<Caption> optionsCaptions();
[[nodiscard]] Caption dialogButtonCaption(bool primary);
// The word of the Convert button (Stop during a run), with its glyph, over the whole button.
[[nodiscard]] Caption convertCaption(bool stop);

// The caption's shown text in its box, at a smaller size where it would not fit.
void drawCaption(QPainter& p, const Caption& caption, const QString& shown, bool lit, bool enabled);
// The Convert button's glyph and word, centred together in the button.
void drawConvertCaption(QPainter& p, const Caption& caption, const QString& shown, bool stop);

// The outline of a skinned window of the given size; outside it the window is transparent.
[[nodiscard]] QPainterPath windowOutline(QSize client);

// Main window's background, client-sized, transparent outside the outline.
[[nodiscard]] QImage mainBackground(qreal dpr);

struct MainPictures {
    std::array<QPixmap, 7> imgButtonData; // toolbar hover faces by toolbar index
    std::array<QPixmap, 3> imgMenuData;
    QPixmap imgConvertData;
    QPixmap imgStop; // the Convert button during a run
    QPixmap imgStopLight;
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

[[nodiscard]] QImage optionsBackground(qreal dpr);

struct OptionsPictures {
    QPixmap imgOKLight;
    QPixmap imgBackLight;
    QPixmap imgExitLight;
    QPixmap imgButtonLight;
    QPixmap imgButton;
};
[[nodiscard]] OptionsPictures optionsPictures(const QImage& background);

enum class Glyph {
    AddFile,
    AddFolder,
    Remove,
    Options,
    Help,
    Exit,
    Play,
    Folder,
    TitleHelp,
    TitleMinimise,
    TitleClose,
    ChevronDown,
    Tick,
    Logo,
};
inline constexpr int kGlyphCount = static_cast<int>(Glyph::Logo) + 1;
// The glyph scaled into box; every line and fill drawn in ink is drawn in the given ink
// (the logo keeps its own colours).
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink = Qt::black);

[[nodiscard]] QIcon windowIcon();
// The program's icon on a size x size square; the installed icons are drawn with it too.
void paintAppIcon(QPainter& p, qreal size);

// Style sheet for the standard controls placed on the skin.
[[nodiscard]] QString controlStyleSheet();

} // namespace skin
