#pragma once

#include <string>
#include <vector>

// Takes that a crash, a kill, a power cut or a log-out left in the working
// folder. They are the user's sound: kept until the user names or discards
// them.

// True when the file holds at least one MPEG audio frame that carries sound
// (a VBR header frame alone carries none).
bool HoldsAudio(const std::string& path);

// A VBR take whose stop never ran still starts with the encoder's
// placeholder frame of zeros, so players guess its length from the first
// frame's bit rate. Writes a real header (frame count, byte count, seek
// table) into that frame. True when the file was changed.
bool RepairVbrHeader(const std::string& path);

// Makes the folder when it is missing, removes the files in it that hold no
// audio, repairs the others and returns them in the order of their take
// numbers. Folders and links in it are not ours and stay.
std::vector<std::string> KeepLeftTakes(const std::string& folder);
