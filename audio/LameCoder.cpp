#include "LameCoder.h"

#include "Logging.h"

#include <cstring>

TLameVersion::TLameVersion() {
    beVersion(&m_version);
}

void TLameVersion::Assign(const TLameVersion& source) {
    std::memcpy(&m_version, &source.m_version, 4);
}

TLameCoder::TLameCoder() = default;

TLameCoder::~TLameCoder() {
    if (m_stream)
        CloseStream();
}

void TLameCoder::buildConfig() {
    std::memset(&m_config, 0, sizeof m_config);
    auto& c = m_config.LHV1;
    m_config.dwConfig = BE_CONFIG_LAME;
    c.dwStructVersion = CURRENT_STRUCT_VERSION;
    c.dwStructSize = CURRENT_STRUCT_SIZE;
    c.dwSampleRate = m_sampleRate;
    c.dwReSampleRate = 0;
    c.nMode = m_mode;
    c.dwBitrate = m_bitrate;
    c.dwMaxBitrate = m_maxBitrate;
    c.nPreset = m_quality;
    c.dwMpegVersion = 1;
    c.dwPsyModel = 0;
    c.dwEmphasis = 0;
    c.bPrivate = m_private;
    c.bCRC = m_crc;
    c.bCopyright = m_copyright;
    c.bOriginal = m_original;
    c.bWriteVBRHeader = m_writeVBRHeader;
    c.bEnableVBR = m_enableVBR;
    c.nVBRQuality = m_vbrQuality;
}

BE_ERR TLameCoder::OpenStream() {
    buildConfig();
    const BE_ERR result =
        beInitStream(&m_config, &m_samplesPerChunk, &m_outputBufferSize, &m_stream);
    if (result == BE_ERR_SUCCESSFUL)
        m_outputBuffer.resize(m_outputBufferSize);
    else
        qCWarning(lcAudio, "The MP3 encoder refused %u Hz at %u kbps (error %u)", m_sampleRate,
                  m_bitrate, result);
    return result;
}

BE_ERR TLameCoder::EncodeChunk(const int16_t* pcm, uint8_t* output, uint32_t& outputCount) {
    const BE_ERR result = beEncodeChunk(m_stream, m_samplesPerChunk, pcm, output, &outputCount);
    if (result != BE_ERR_SUCCESSFUL)
        qCWarning(lcAudio, "The MP3 encoder failed (error %u)", result);
    return result;
}

BE_ERR TLameCoder::FinishStream(uint8_t* output, uint32_t& outputCount) {
    const BE_ERR result = beDeinitStream(m_stream, output, &outputCount);
    if (result != BE_ERR_SUCCESSFUL)
        qCWarning(lcAudio, "The MP3 encoder could not finish the take (error %u)", result);
    return result;
}

BE_ERR TLameCoder::WriteInfoTag(const std::string& fileName) {
    const BE_ERR result = beWriteInfoTag(m_stream, fileName.c_str());
    if (result != BE_ERR_SUCCESSFUL)
        qCWarning(lcAudio,
                  "Could not write the length of the VBR take into %s (error %u): players "
                  "may show it wrongly",
                  fileName.c_str(), result);
    return result;
}

BE_ERR TLameCoder::CloseStream() {
    m_outputBuffer.clear();
    m_outputBuffer.shrink_to_fit();
    const BE_ERR result = beCloseStream(m_stream);
    m_stream = nullptr;
    return result;
}
