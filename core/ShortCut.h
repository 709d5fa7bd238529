#pragma once

#include <QString>

#include <cstdint>

// A key code in the low 8 bits (letters and digits as their upper-case
// character), 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = uint16_t;

// "Shift+", "Ctrl+", "Alt+" for the bits set, then the key's name.
QString ShortCutToText(TShortCut shortcut);
