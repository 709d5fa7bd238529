#pragma once

#include "CaptureBackend.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PulseConnection;
class VolumeGuard;
struct pa_source_info;

// What the sound server offers to record: its sources, monitors included, as
// last read, and which of them are the default microphone and speakers.
class PulseSources {
public:
    struct Source {
        uint32_t index = 0;
        std::string name;
        // The server's own volume of each channel, to give it back exactly.
        std::vector<uint32_t> volumes;
        CaptureInput input;
        // Served by PipeWire's pulse server, whose driver it names.
        bool pipeWire = false;
    };
    static uint32_t ClassifySource(const pa_source_info& info);

    explicit PulseSources(PulseConnection& connection);
    ~PulseSources();
    PulseSources(const PulseSources&) = delete;
    PulseSources& operator=(const PulseSources&) = delete;

    // With the loop locked, outside its thread: the list anew, in the
    // server's order, and `selected` (an index into it, or -1) moved along.
    bool Read(int& selected);
    const std::vector<Source>& List() const { return m_sources; }
    Source& At(int index) { return m_sources[static_cast<size_t>(index)]; }
    int Count() const { return static_cast<int>(m_sources.size()); }
    void Clear() { m_sources.clear(); }
    // The sources a mixed take records: the default source unless it is a
    // monitor, and the monitor of the default sink.
    bool FindMixed(std::string& microphone, std::string& speakers);
    bool HasOutputDevice();

    // With the loop locked: the source's volume on the server, in percent of
    // its normal volume; false when the server refuses or does not answer.
    // From the loop's own thread (a block callback), the change is sent
    // without waiting for the answer.
    bool SetVolume(int index, int percent);
    // From now until KeepVolumes(), a source whose volume SetVolume() changes
    // gets it back should the program end otherwise (see VolumeGuard). Kept
    // across Clear(). With the loop locked.
    void GuardVolumes();
    void KeepVolumes();

private:
    bool volumeSet(const Source& source, bool ok);

    PulseConnection& m_connection;
    std::vector<Source> m_sources;
    std::unique_ptr<VolumeGuard> m_guard;
    bool m_guarding = false;
    bool m_volumeFailing = false;
};
