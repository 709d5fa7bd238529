#pragma once

#include <QIcon>
#include <QPixmap>

#include <cstdint>

constexpr int kTrayImageCount = 38;
constexpr int kIdleIcon = 36;
constexpr int kBusyIcon = 37;

// Band 0..5 of a level 0..128: 19 wide, then 22 wide.
int LevelBand(uint32_t value);
// 6 x band(left) + band(right) for a level with the left channel in the low
// 16 bits and the right in the high; 0 when either is out of range.
int LevelIconIndex(uint32_t level);

// The 16 x 16 images: 0..35 the two-row level meter, 36 the idle blue REC,
// 37 the busy red and yellow REC. An index past the end gives the last.
QPixmap DrawTrayImage(int index);
// The same images as icons, each drawn once and kept: the tray is handed the
// same icon every time, so nothing piles up in Qt's pixmap cache. GUI thread
// only.
const QIcon& TrayIconImage(int index);

// The program's own icon, for every window: the launcher's image.
QIcon ProgramIcon();
