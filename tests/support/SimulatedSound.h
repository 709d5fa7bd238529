#pragma once

#include "Bass.h"
#include "SimulatedBackend.h"

#include <memory>
#include <vector>

// Puts a simulated sound system with these inputs behind the capture
// functions; connects = false plays a sound server that is not there.
inline SimulatedBackend* InstallSimulatedSound(std::vector<CaptureInput> inputs,
                                               bool connects = true) {
    SimulatedBackend::Script script;
    script.inputs = std::move(inputs);
    script.connects = connects;
    auto backend = std::make_unique<SimulatedBackend>(script);
    SimulatedBackend* raw = backend.get();
    BASS_SetBackend(std::move(backend));
    return raw;
}
