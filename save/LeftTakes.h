#pragma once

#include <optional>
#include <string>
#include <vector>

// Takes that a crash, a kill, a power cut or a log-out left in the working
// folder. They are the user's sound: kept until the user names or discards
// them.

// The number in a take's file name as the recorder gives it
// ("tmpfile12.mp3": 12); nothing for any other name.
std::optional<unsigned long> TakeNumber(const std::string& fileName);

// True when the file holds at least one MPEG audio frame that carries sound
// (a VBR header frame alone carries none). Reads only the start of it.
bool HoldsAudio(const std::string& path);

// A VBR take whose stop never ran still starts with the encoder's
// placeholder frame of zeros, so players guess its length from the first
// frame's bit rate. Writes a real header (frame count, byte count, seek
// table) into that frame. True when the file was changed.
bool RepairVbrHeader(const std::string& path);

struct LeftTake {
    std::string path;
    std::string readError; // why it cannot be read; empty when it can
};

// Makes the folder when it is missing and looks at the files in it named as
// the recorder names takes, nothing else: those that hold no audio are
// removed, the others repaired and returned in the order of their numbers,
// also those that cannot be read (they may still be the user's only copy).
std::vector<LeftTake> KeepLeftTakes(const std::string& folder);

// What the user is told before such a take is offered.
std::string UnreadableTakeText(const LeftTake& take);
