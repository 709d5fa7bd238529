#pragma once

// The capture layer is owned by one window at a time: the main window gives
// it up while the optimizer has it and takes it back afterwards.

// Both halves (recording and output) open, or neither: a half-open layer
// would record with no device to tell the user's output from. owner is only
// passed through to the layer.
[[nodiscard]] bool OpenSoundSystem(void* owner);
// Stops any capture, lets go of the input-change handler and closes both
// halves; harmless when nothing is open.
void CloseSoundSystem();
// The volume to record at where neither the settings nor the input tell one.
constexpr int kFallbackVolume = 10;
// The input's own volume in percent; kFallbackVolume when it cannot be read.
int InputVolume(int input);
