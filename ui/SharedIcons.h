#pragma once

// Qt's styles build each standard icon anew on every request, so every "Save
// as" (a file dialog with its tool buttons and file icons) brings icons with
// new cache keys, and Qt's pixmap cache fills with their scaled copies, about
// 20 kB a take, up to its 10 MB limit. Installs, once, a proxy of the
// application's style that hands out one icon per kind.
void ShareStandardIcons();
