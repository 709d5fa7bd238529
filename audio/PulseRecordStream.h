#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class PulseConnection;
struct pa_sample_spec;
struct pa_stream;

// One record stream on the sound server. Its callbacks run on the loop's
// thread, with the loop locked, until Retire().
class PulseRecordStream {
public:
    using StateFn = std::function<void(PulseRecordStream& stream)>;
    using ReadFn = std::function<void(PulseRecordStream& stream, size_t readable)>;
    // The bytes handed over so far; nothing once the capture has ended.
    using DeliveredFn = std::function<std::optional<uint64_t>()>;

    // With the loop locked: a stream from the device (nullptr: the server's
    // choice), or nullptr when the server refuses it.
    static std::unique_ptr<PulseRecordStream> Open(PulseConnection& connection, const char* device,
                                                   const pa_sample_spec& format, StateFn onState,
                                                   ReadFn onRead);
    ~PulseRecordStream();
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    bool Ready() const;
    // Still connecting, or ready.
    bool Good() const;
    // Failed, or ended by the server.
    bool Ended() const;
    // False on an error. A hole in the stream comes as no data with a length.
    bool Peek(const void*& data, size_t& length);
    void Drop();
    void Cork(bool corked);
    // No more callbacks, and the server lets go of it; the object itself may
    // still be inside one of its callbacks.
    void Retire();

    static void CorkAndDrain(PulseConnection& connection, PulseRecordStream* first,
                             PulseRecordStream* second, const DeliveredFn& delivered);

private:
    PulseRecordStream(PulseConnection& connection, pa_stream* stream, StateFn onState,
                      ReadFn onRead);
    static void onState(pa_stream* stream, void* self);
    static void onRead(pa_stream* stream, size_t readable, void* self);

    PulseConnection& m_connection;
    pa_stream* m_stream;
    StateFn m_onState;
    ReadFn m_onRead;
    bool m_retired = false;
    std::string m_device; // for the log
};
