#pragma once

#include "ProgramFiles.h"

// Earlier releases kept settings and takes in $XDG_DATA_HOME/Tapewren/. They
// are moved where they belong now, once: that folder is gone afterwards,
// unless it holds files that are not ours or a settings file already exists
// here. Skipped while an earlier release still runs there. Call it holding
// the instance lock.
void MoveEarlierFiles(const ProgramFiles& files);
