#pragma once

// The encoder's stream interface: a configuration record and five calls, in
// the form of the LAME encoder's published Windows interface, mapped onto
// libmp3lame's native API.

#include <cstddef>
#include <cstdint>

using BE_ERR = uint32_t;
namespace lame {
struct lame_global_struct;
}
using HBE_STREAM = lame::lame_global_struct*;

constexpr BE_ERR BE_ERR_SUCCESSFUL = 0x00000000;
constexpr BE_ERR BE_ERR_INVALID_FORMAT = 0x00000001;
constexpr BE_ERR BE_ERR_INVALID_FORMAT_PARAMETERS = 0x00000002;
constexpr BE_ERR BE_ERR_NO_MORE_HANDLES = 0x00000003;
constexpr BE_ERR BE_ERR_INVALID_HANDLE = 0x00000004;
constexpr BE_ERR BE_ERR_BUFFER_TOO_SMALL = 0x00000005;
constexpr BE_ERR BE_ERR_WRITE_FAILED = 0x00000006; // writing the tag frame into the file

constexpr uint32_t BE_CONFIG_LAME = 256;
constexpr uint32_t CURRENT_STRUCT_VERSION = 1;
constexpr uint32_t CURRENT_STRUCT_SIZE = 331;

// Channel modes (TLameMode) and quality presets (MPEG_QUALITY).
enum TLameMode : int32_t { STEREO = 0, JSTEREO = 1, DUALCHANNEL = 2, MONO = 3 };
enum MPEG_QUALITY : int32_t {
    NORMAL_QUALITY = 0,
    LOW_QUALITY = 1,
    HIGH_QUALITY = 2,
    VOICE_QUALITY = 3,
};

// VBR methods of the record; 0 lets the encoder use its own default.
enum : int32_t {
    VBR_METHOD_NONE = -1,
    VBR_METHOD_DEFAULT = 0,
    VBR_METHOD_OLD = 1,
    VBR_METHOD_NEW = 2,
    VBR_METHOD_MTRH = 3,
    VBR_METHOD_ABR = 4,
};

#pragma pack(push, 1)
struct BE_CONFIG {
    uint32_t dwConfig; // BE_CONFIG_LAME
    struct {
        uint32_t dwStructVersion;
        uint32_t dwStructSize;
        uint32_t dwSampleRate;   // of the PCM input, Hz
        uint32_t dwReSampleRate; // of the MP3, Hz; 0 lets the encoder choose
        int32_t nMode;           // TLameMode
        uint32_t dwBitrate;      // kbps; with VBR the lowest
        uint32_t dwMaxBitrate;   // kbps, with VBR
        int32_t nPreset;         // MPEG_QUALITY
        uint32_t dwMpegVersion;
        uint32_t dwPsyModel;
        uint32_t dwEmphasis;
        int32_t bPrivate;
        int32_t bCRC;
        int32_t bCopyright;
        int32_t bOriginal;
        int32_t bWriteVBRHeader;
        int32_t bEnableVBR;
        int32_t nVBRQuality; // 0 best .. 9
        uint32_t dwVbrAbr_bps;
        int32_t nVbrMethod;
        int32_t bNoRes;
        int32_t bStrictIso;
        uint16_t nQuality; // low byte a quality 0..9 when the high byte is its complement
        uint8_t btReserved[237];
    } LHV1;
};

struct BE_VERSION {
    uint8_t byDLLMajorVersion;
    uint8_t byDLLMinorVersion;
    uint8_t byMajorVersion;
    uint8_t byMinorVersion;
    uint8_t byDay;
    uint8_t byMonth;
    uint16_t wYear;
    char zHomepage[129];
    uint8_t byAlphaLevel;
    uint8_t byBetaLevel;
    uint8_t byMMXEnabled;
    uint8_t btReserved[125];
};
#pragma pack(pop)

static_assert(sizeof(BE_CONFIG) == 331);
static_assert(offsetof(BE_CONFIG, LHV1.dwStructVersion) == 4);
static_assert(offsetof(BE_CONFIG, LHV1.dwStructSize) == 8);
static_assert(offsetof(BE_CONFIG, LHV1.dwSampleRate) == 12);
static_assert(offsetof(BE_CONFIG, LHV1.dwReSampleRate) == 16);
static_assert(offsetof(BE_CONFIG, LHV1.nMode) == 20);
static_assert(offsetof(BE_CONFIG, LHV1.dwBitrate) == 24);
static_assert(offsetof(BE_CONFIG, LHV1.dwMaxBitrate) == 28);
static_assert(offsetof(BE_CONFIG, LHV1.nPreset) == 32);
static_assert(offsetof(BE_CONFIG, LHV1.dwMpegVersion) == 36);
static_assert(offsetof(BE_CONFIG, LHV1.dwPsyModel) == 40);
static_assert(offsetof(BE_CONFIG, LHV1.dwEmphasis) == 44);
static_assert(offsetof(BE_CONFIG, LHV1.bPrivate) == 48);
static_assert(offsetof(BE_CONFIG, LHV1.bCRC) == 52);
static_assert(offsetof(BE_CONFIG, LHV1.bCopyright) == 56);
static_assert(offsetof(BE_CONFIG, LHV1.bOriginal) == 60);
static_assert(offsetof(BE_CONFIG, LHV1.bWriteVBRHeader) == 64);
static_assert(offsetof(BE_CONFIG, LHV1.bEnableVBR) == 68);
static_assert(offsetof(BE_CONFIG, LHV1.nVBRQuality) == 72);
static_assert(offsetof(BE_CONFIG, LHV1.dwVbrAbr_bps) == 76);
static_assert(offsetof(BE_CONFIG, LHV1.nVbrMethod) == 80);
static_assert(offsetof(BE_CONFIG, LHV1.bNoRes) == 84);
static_assert(offsetof(BE_CONFIG, LHV1.bStrictIso) == 88);
static_assert(offsetof(BE_CONFIG, LHV1.nQuality) == 92);
static_assert(offsetof(BE_CONFIG, LHV1.btReserved) == 94);

// samples: 16-bit values per beEncodeChunk call, all channels together.
// bufferSize: bytes one beEncodeChunk call may write at most.
BE_ERR beInitStream(const BE_CONFIG* config, uint32_t* samples, uint32_t* bufferSize,
                    HBE_STREAM* stream);
// nSamples values, interleaved in stereo; a multiple of the channel count.
BE_ERR beEncodeChunk(HBE_STREAM stream, uint32_t nSamples, const int16_t* samples, uint8_t* output,
                     uint32_t* outputBytes);
// The last frames; output needs room for bufferSize bytes.
BE_ERR beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputBytes);
BE_ERR beCloseStream(HBE_STREAM stream);
void beVersion(BE_VERSION* version);
// With a VBR header: writes the finished header frame over the placeholder
// that starts the file. After beDeinitStream, before beCloseStream, with the
// file complete.
BE_ERR beWriteInfoTag(HBE_STREAM stream, const char* fileName);
