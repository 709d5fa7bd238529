#pragma once

#include <string>

// Moves a file, replacing the target when asked. Across file systems it is
// copied beside the target and renamed over it, so that a failed copy never
// leaves a half-written file in place of a good one; the source goes only
// once the target is complete.
// On failure, *error (when given) holds the errno that stopped it; a
// target that is a folder gives EISDIR.
bool MoveFile(const std::string& source, const std::string& target, bool replace,
              int* error = nullptr);

// What the user is told when a save failed with that errno.
std::string SaveFailureText(int error);
// What the user is told when the tag could not be written to a file.
std::string TagFailureText(const std::string& fileName, int error);

// Whether a file or folder of that name exists.
bool PathExists(const std::string& path);

// The target of a save: the name as given, with ".mp3" appended when its
// last part has no extension.
std::string SaveTargetPath(const std::string& fileName);

// Everything up to and including the last "/".
std::string FolderOf(const std::string& path);
