#pragma once

#include "CaptureBackend.h"

#include <cstdint>
#include <string>
#include <vector>

class PulseConnection;
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

    explicit PulseSources(PulseConnection& connection) : m_connection(connection) {}

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

private:
    PulseConnection& m_connection;
    std::vector<Source> m_sources;
};
