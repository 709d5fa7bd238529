#pragma once

// Qt's accessibility knows its own widgets only: a plain top-level widget is
// a filler, which a screen reader passes over, and a label is static text.
// Installed once; the configuration window then reads as a dialog and its
// links as links that a screen reader can press, and drop-down lists are
// named by their captions.
void InstallAccessibleRoles();
