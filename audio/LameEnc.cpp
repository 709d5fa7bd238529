#include "LameEnc.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>

// lame.h declares STEREO and MONO at global scope, as our channel modes do.
namespace lame {
#include <lame/lame.h>
}
using namespace lame;

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int channelsOf(int32_t mode) {
    return mode == ::MONO ? 1 : 2;
}

MPEG_mode lameMode(int32_t mode) {
    switch (mode) {
    case JSTEREO:
        return lame::JOINT_STEREO;
    case DUALCHANNEL:
        return lame::DUAL_CHANNEL;
    case ::MONO:
        return lame::MONO;
    default:
        return lame::STEREO;
    }
}

vbr_mode vbrMethod(int32_t method) {
    switch (method) {
    case VBR_METHOD_OLD:
        return vbr_rh;
    case VBR_METHOD_NEW:
    case VBR_METHOD_MTRH:
        return vbr_mtrh;
    case VBR_METHOD_ABR:
        return vbr_abr;
    default:
        return vbr_default;
    }
}

bool configure(lame_global_flags* gf, const BE_CONFIG& config) {
    const auto& c = config.LHV1;
    const int channels = channelsOf(c.nMode);
    lame_set_num_channels(gf, channels);
    lame_set_in_samplerate(gf, static_cast<int>(c.dwSampleRate));
    lame_set_out_samplerate(gf, static_cast<int>(c.dwReSampleRate)); // 0: LAME picks
    lame_set_mode(gf, lameMode(c.nMode));
    // The MPEG version follows from the output rate; dwMpegVersion cannot force it.
    lame_set_emphasis(gf, static_cast<int>(c.dwEmphasis));
    lame_set_extension(gf, c.bPrivate ? 1 : 0);           // private bit
    lame_set_error_protection(gf, c.bCRC ? 1 : 0);        // CRC per frame
    lame_set_copyright(gf, c.bCopyright ? 1 : 0);         // copyright bit
    lame_set_original(gf, c.bOriginal ? 1 : 0);           // original bit
    lame_set_bWriteVbrTag(gf, c.bWriteVBRHeader ? 1 : 0); // Xing/LAME header frame
    lame_set_disable_reservoir(gf, c.bNoRes ? 1 : 0);     // no bit reservoir
    lame_set_strict_ISO(gf, c.bStrictIso ? 1 : 0);        // strict ISO frame sizes
    lame_set_write_id3tag_automatic(gf, 0);               // tags are the tag writer's job
    switch (c.nPreset) {
    case LOW_QUALITY:
        lame_set_quality(gf, 7); // fast, plainer psychoacoustics
        break;
    case HIGH_QUALITY:
        lame_set_quality(gf, 2); // slow, near best
        break;
    case VOICE_QUALITY:
        lame_set_quality(gf, 5);
        lame_set_lowpassfreq(gf, 12000); // speech carries nothing above this
        break;
    default:
        lame_set_quality(gf, 5); // LAME's own balance of speed and quality
        break;
    }
    // A quality word counts only when its high byte is its low byte's complement.
    const int word = c.nQuality;
    if (word != 0 && ((word >> 8) & 0xff) == (~word & 0xff))
        lame_set_quality(gf, word & 0xff);
    if (c.bEnableVBR) {
        lame_set_VBR(gf, vbrMethod(c.nVbrMethod));
        lame_set_VBR_q(gf, c.nVBRQuality);                                   // 0 best .. 9
        lame_set_VBR_min_bitrate_kbps(gf, static_cast<int>(c.dwBitrate));    // the floor
        lame_set_VBR_max_bitrate_kbps(gf, static_cast<int>(c.dwMaxBitrate)); // the ceiling
        lame_set_VBR_hard_min(gf, 1); // else the floor is only a hint
        if (c.nVbrMethod == VBR_METHOD_ABR)
            lame_set_VBR_mean_bitrate_kbps(gf, static_cast<int>(c.dwVbrAbr_bps / 1000));
    } else {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, static_cast<int>(c.dwBitrate)); // constant bit rate, kbps
    }
    return lame_init_params(gf) >= 0;
}
} // namespace

BE_ERR beInitStream(const BE_CONFIG* config, uint32_t* samples, uint32_t* bufferSize,
                    HBE_STREAM* stream) {
    if (!config || !samples || !bufferSize || !stream)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (config->dwConfig != BE_CONFIG_LAME)
        return BE_ERR_INVALID_FORMAT;
    const int32_t mode = config->LHV1.nMode;
    if (mode < ::STEREO || mode > ::MONO || config->LHV1.dwSampleRate == 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    lame_global_flags* gf = lame_init();
    if (!gf)
        return BE_ERR_NO_MORE_HANDLES;
    if (!configure(gf, *config)) {
        lame_close(gf);
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    const auto frame = static_cast<uint32_t>(lame_get_framesize(gf));
    *samples = frame * static_cast<uint32_t>(channelsOf(mode));
    // LAME's own worst case for one call: 1.25 x samples per channel + 7200.
    *bufferSize = frame * 5 / 4 + 7200;
    *stream = gf;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beEncodeChunk(HBE_STREAM stream, uint32_t nSamples, const int16_t* samples, uint8_t* output,
                     uint32_t* outputBytes) {
    if (!stream || !outputBytes)
        return BE_ERR_INVALID_HANDLE;
    const int channels = lame_get_num_channels(stream);
    const int perChannel = static_cast<int>(nSamples) / channels;
    // The buffer is as large as beInitStream said; 0 tells LAME not to check.
    const int written = channels == 1
                            // Mono given to the interleaved call comes out an octave high.
                            ? lame_encode_buffer(stream, samples, samples, perChannel, output, 0)
                            : lame_encode_buffer_interleaved(stream, const_cast<int16_t*>(samples),
                                                             perChannel, output, 0);
    if (written < 0) {
        *outputBytes = 0;
        return written == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *outputBytes = static_cast<uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputBytes) {
    if (!stream || !outputBytes)
        return BE_ERR_INVALID_HANDLE;
    const int written = lame_encode_flush(stream, output, 0);
    if (written < 0) {
        *outputBytes = 0;
        return BE_ERR_BUFFER_TOO_SMALL;
    }
    *outputBytes = static_cast<uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beCloseStream(HBE_STREAM stream) {
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    lame_close(stream);
    return BE_ERR_SUCCESSFUL;
}

void beVersion(BE_VERSION* version) {
    if (!version)
        return;
    std::memset(version, 0, sizeof *version);
    lame_version_t lame;
    get_lame_version_numerical(&lame);
    version->byDLLMajorVersion = 1;
    version->byDLLMinorVersion = 32;
    version->byMajorVersion = static_cast<uint8_t>(lame.major);
    version->byMinorVersion = static_cast<uint8_t>(lame.minor);
    version->byAlphaLevel = static_cast<uint8_t>(lame.alpha);
    version->byBetaLevel = static_cast<uint8_t>(lame.beta);
    std::strncpy(version->zHomepage, get_lame_url(), sizeof version->zHomepage - 1);
}

BE_ERR beWriteInfoTag(HBE_STREAM stream, const char* fileName) {
    if (!stream || !fileName)
        return BE_ERR_INVALID_HANDLE;
    unsigned char frame[2880]; // the largest MPEG-1 layer III frame
    const size_t size = lame_get_lametag_frame(stream, frame, sizeof frame);
    if (size == 0)
        return BE_ERR_SUCCESSFUL; // no header frame asked for
    if (size > sizeof frame)
        return BE_ERR_BUFFER_TOO_SMALL;
    const int fd = ::open(fileName, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return BE_ERR_WRITE_FAILED;
    // Only ever over a placeholder frame: a file cut short by a failed write
    // must not be extended, nor anything else overwritten.
    unsigned char head[2] = {0, 0};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(size) ||
        ::pread(fd, head, sizeof head, 0) != sizeof head || head[0] != 0xFF ||
        (head[1] & 0xE0) != 0xE0) {
        ::close(fd);
        return BE_ERR_WRITE_FAILED;
    }
    ssize_t done = 0;
    while (done < static_cast<ssize_t>(size)) {
        const ssize_t n = ::pwrite(fd, frame + done, size - static_cast<size_t>(done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool ok = done == static_cast<ssize_t>(size) && ::fsync(fd) == 0;
    return (::close(fd) == 0 && ok) ? BE_ERR_SUCCESSFUL : BE_ERR_WRITE_FAILED;
}
