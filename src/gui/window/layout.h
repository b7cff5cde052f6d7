#pragma once

#include <QRect>
#include <QSize>

#include <array>

// Where every control of the skinned windows sits. The designer's numbers are twips
// (1/1440 inch, 15 per pixel at 96 dpi); each value is rounded to the nearest pixel on its
// own. The art is painted from the same rectangles, so a face can never drift away from the
// control that acts on it.
namespace layout {

[[nodiscard]] constexpr int px(int twips) {
    return (twips + 7) / 15;
}

[[nodiscard]] constexpr QRect fromTwips(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

namespace main {

inline constexpr QSize client{px(10485), px(7485)};

inline constexpr QRect imgHelp = fromTwips(9520, 120, 225, 225);
inline constexpr QRect imgMin = fromTwips(9775, 135, 210, 210);
inline constexpr QRect imgExit = fromTwips(10075, 150, 225, 225);
inline constexpr QRect lblVersion = fromTwips(1710, 150, 1200, 210);

inline constexpr std::array<QRect, 3> imgMenu{
    fromTwips(270, 470, 600, 225),
    fromTwips(900, 470, 885, 225),
    fromTwips(1830, 470, 765, 225),
};

// Indexed by the toolbar's own numbering; there is no button 5.
inline constexpr int kToolbarSlots = 7;
inline constexpr std::array<int, 6> toolbarOrder{0, 6, 1, 2, 3, 4};
inline constexpr std::array<QRect, kToolbarSlots> imgToolbar{
    fromTwips(240, 820, 1290, 795),  // 0 add a file
    fromTwips(2845, 825, 1290, 795), // 1 remove
    fromTwips(4150, 825, 1290, 795), // 2 options
    fromTwips(5455, 825, 1290, 795), // 3 help
    fromTwips(6760, 825, 1290, 795), // 4 exit
    QRect(),                         // 5 unused
    fromTwips(1540, 830, 1290, 795), // 6 add a folder
};

inline constexpr QRect LV = fromTwips(255, 2400, 6825, 4110);
inline constexpr int fileNameColumnWidth = px(5410);
inline constexpr QRect picText = fromTwips(2460, 3960, 2445, 315);
inline constexpr QRect lblText = fromTwips(180, 60, 2085, 210); // inside picText

inline constexpr QRect cmbOF = fromTwips(7320, 2370, 2835, 330);
inline constexpr QRect picButtonOF = fromTwips(9850, 2400, 285, 285);
inline constexpr QRect cmbBR = fromTwips(7320, 3000, 2835, 330);
inline constexpr QRect picButtonBR = fromTwips(9850, 3030, 285, 285);
inline constexpr QRect cmbR = fromTwips(7320, 3660, 2835, 330);
inline constexpr QRect picButtonR = fromTwips(9850, 3690, 285, 285);
inline constexpr QRect cmbChannel = fromTwips(7320, 4290, 2835, 330);
inline constexpr QRect picButtonChannel = fromTwips(9850, 4320, 285, 285);
inline constexpr QRect txtPath = fromTwips(7320, 4950, 2145, 345);
inline constexpr QRect imgBrowse = fromTwips(9525, 4960, 630, 330);
inline constexpr QRect imgConvert = fromTwips(7330, 5565, 2805, 1365);

// The progress fill at its full width.
inline constexpr int imgPBFullWidthTwips = 5415;
inline constexpr QRect imgPB = fromTwips(1700, 6700, imgPBFullWidthTwips, 195);
inline constexpr QRect lblPB = fromTwips(3210, 6710, 2355, 195);
// The run's line: which file, the time left, and how the run ended.
inline constexpr QRect lblStatus = fromTwips(2640, 7170, 6690, 195);
inline constexpr QRect lblWeb = fromTwips(270, 7170, 2250, 195);
inline constexpr QRect lblFeed = fromTwips(9420, 7155, 690, 195);

// Reached only through code; all of them lie outside the client area.
inline constexpr QRect imgAdd = fromTwips(6135, 8235, 1395, 330);
inline constexpr QRect imgRemove = fromTwips(7590, 8235, 1185, 330);
inline constexpr QRect imgStart = fromTwips(4440, 8220, 1365, 315);
inline constexpr QRect picDrag = fromTwips(10920, 6330, 2145, 2190);

} // namespace main

namespace options {

inline constexpr QSize client{px(4905), px(5235)};

inline constexpr QRect cmbSR = fromTwips(2190, 510, 2445, 300);
inline constexpr QRect picButtonBR = fromTwips(4345, 530, 285, 285);
inline constexpr QRect chkMC = fromTwips(2190, 960, 195, 190);
inline constexpr QRect txtFromH = fromTwips(1410, 1270, 285, 270);
inline constexpr QRect txtFromM = fromTwips(2400, 1270, 465, 270);
inline constexpr QRect txtFromS = fromTwips(3450, 1270, 645, 270);
inline constexpr QRect txtToH = fromTwips(1410, 1630, 285, 270);
inline constexpr QRect txtToM = fromTwips(2400, 1630, 465, 270);
inline constexpr QRect txtToS = fromTwips(3450, 1630, 645, 270);
// Our own rows below the cutter: conversions at a time, the kept folder tree, the sync, the
// loudness tags and the folder shown at the end.
inline constexpr QRect cmbJobs = fromTwips(2910, 2040, 1200, 300);
inline constexpr QRect picButtonJobs = fromTwips(3820, 2060, 285, 285);
inline constexpr QRect chkKeep = fromTwips(2910, 2490, 195, 190);
inline constexpr QRect chkSync = fromTwips(2910, 2850, 195, 190);
inline constexpr QRect chkReplayGain = fromTwips(2910, 3210, 195, 190);
inline constexpr QRect chkOpenFolder = fromTwips(2910, 3570, 195, 190);
// Output names: wide enough for the longest common pattern, with its example underneath.
inline constexpr QRect cmbNames = fromTwips(1470, 3930, 3165, 300);
inline constexpr QRect picButtonNames = fromTwips(4345, 3950, 285, 285);
inline constexpr QRect lblNameExample = fromTwips(1590, 4290, 3045, 240);
inline constexpr QRect imgOK = fromTwips(2490, 4680, 870, 270);
inline constexpr QRect imgBack = fromTwips(3690, 4680, 870, 270);
inline constexpr QRect imgExit = fromTwips(4480, 160, 225, 225);

} // namespace options

} // namespace layout
