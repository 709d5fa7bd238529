#pragma once

#include "LameEnc.h"

#include <cstdint>
#include <string>
#include <vector>

// The encoder library's version record; publishes its first four bytes.
class TLameVersion {
public:
    TLameVersion();
    explicit TLameVersion(const BE_VERSION& record) : m_version(record) {}
    void Assign(const TLameVersion& source);

    uint8_t DLLMajorVersion() const { return m_version.byDLLMajorVersion; }
    uint8_t DLLMinorVersion() const { return m_version.byDLLMinorVersion; }
    uint8_t MajorVersion() const { return m_version.byMajorVersion; }
    uint8_t MinorVersion() const { return m_version.byMinorVersion; }
    const BE_VERSION& Record() const { return m_version; }

private:
    BE_VERSION m_version;
};

// One MP3 stream's encoder: settings as properties, turned into the stream
// interface's configuration record when the stream opens. One per stream.
class TLameCoder {
public:
    TLameCoder();
    ~TLameCoder();
    TLameCoder(const TLameCoder&) = delete;
    TLameCoder& operator=(const TLameCoder&) = delete;

    uint32_t SampleRate() const { return m_sampleRate; }
    void SetSampleRate(uint32_t value) { m_sampleRate = value; }
    uint32_t Bitrate() const { return m_bitrate; }
    void SetBitrate(uint32_t value) { m_bitrate = value; }
    uint32_t MaxBitrate() const { return m_maxBitrate; }
    void SetMaxBitrate(uint32_t value) { m_maxBitrate = value; }
    MPEG_QUALITY Quality() const { return m_quality; }
    void SetQuality(MPEG_QUALITY value) { m_quality = value; }
    bool Private() const { return m_private; }
    void SetPrivate(bool value) { m_private = value; }
    bool CRC() const { return m_crc; }
    void SetCRC(bool value) { m_crc = value; }
    TLameMode Mode() const { return m_mode; }
    void SetMode(TLameMode value) { m_mode = value; }
    bool Copyright() const { return m_copyright; }
    void SetCopyright(bool value) { m_copyright = value; }
    bool Original() const { return m_original; }
    void SetOriginal(bool value) { m_original = value; }
    bool WriteVBRHeader() const { return m_writeVBRHeader; }
    void SetWriteVBRHeader(bool value) { m_writeVBRHeader = value; }
    bool EnableVBR() const { return m_enableVBR; }
    // A VBR stream wants its header frame, and a constant one none.
    void SetEnableVBR(bool value) {
        m_enableVBR = value;
        m_writeVBRHeader = value;
    }
    int VBRQuality() const { return m_vbrQuality; }
    void SetVBRQuality(int value) { m_vbrQuality = value; }
    const TLameVersion& LameVersion() const { return m_version; }

    // Each returns the library's result code, 0 on success.
    BE_ERR OpenStream();
    // Encodes exactly SamplesPerChunk() values from pcm.
    BE_ERR EncodeChunk(const int16_t* pcm, uint8_t* output, uint32_t& outputCount);
    BE_ERR FinishStream(uint8_t* output, uint32_t& outputCount);
    // VBR streams: replaces the placeholder at the start of the finished,
    // closed file with the real header frame, so players see the true length.
    BE_ERR WriteInfoTag(const std::string& fileName);
    BE_ERR CloseStream();

    uint32_t SamplesPerChunk() const { return m_samplesPerChunk; }
    uint32_t OutputBufferSize() const { return m_outputBufferSize; }
    // The record the last OpenStream built.
    const BE_CONFIG& Config() const { return m_config; }

private:
    void buildConfig();

    uint32_t m_sampleRate = 44100;
    uint32_t m_bitrate = 128;
    uint32_t m_maxBitrate = 320;
    MPEG_QUALITY m_quality = NORMAL_QUALITY;
    bool m_private = false;
    bool m_crc = true;
    TLameMode m_mode = STEREO;
    bool m_copyright = false;
    bool m_original = false;
    bool m_writeVBRHeader = false;
    bool m_enableVBR = false;
    int m_vbrQuality = 4;
    TLameVersion m_version;

    BE_CONFIG m_config{};
    HBE_STREAM m_stream = nullptr;
    uint32_t m_samplesPerChunk = 0;
    uint32_t m_outputBufferSize = 0;
    std::vector<uint8_t> m_outputBuffer;
};
