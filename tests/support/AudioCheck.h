#pragma once

// Audio made in code, and MP3s checked by tools that are not ours: mpg123
// decodes, ffprobe reads the length a player would show.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string RunCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Interleaved 16-bit samples of a sine at half scale.
inline std::vector<int16_t> Tone(uint32_t rate, int channels, double seconds,
                                 double frequency = 440.0, double amplitude = 0.5) {
    const auto frames = static_cast<size_t>(std::lround(rate * seconds));
    std::vector<int16_t> pcm(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        const double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c)
            pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
                static_cast<int16_t>(std::lround(v));
    }
    return pcm;
}

struct Decoded {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples; // interleaved
    size_t Frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Decodes with mpg123 to a WAV file and reads it back.
inline Decoded DecodeMp3(const std::string& mp3) {
    const std::string wav = mp3 + ".decoded.wav";
    RunCommand("mpg123 -q -w '" + wav + "' '" + mp3 + "' 2>/dev/null");
    const std::vector<uint8_t> bytes = ReadBytes(wav);
    std::remove(wav.c_str());
    Decoded d;
    const auto u16 = [&](size_t at) {
        return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8);
    };
    const auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<long>(at),
                             bytes.begin() + static_cast<long>(at) + 4);
        size_t size = u32(at + 4);
        if (id == "fmt ") {
            d.channels = static_cast<int>(u16(at + 10));
            d.rate = static_cast<int>(u32(at + 12));
        } else if (id == "data") {
            // mpg123 writing to a file fixes the size up; trust the file's end too.
            size = std::min(size, bytes.size() - at - 8);
            d.samples.resize(size / 2);
            for (size_t i = 0; i < d.samples.size(); ++i)
                d.samples[i] = static_cast<int16_t>(u16(at + 8 + 2 * i));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return d;
}

// Frequency of the channel's tone from its zero crossings, with hysteresis
// against coding noise; the first and last tenth are left out. Counted over
// the longest stretch without a gap, so that a source that stalls for a moment
// (a test tone player starved on a busy machine) does not read as a lower tone.
inline double ToneFrequency(const Decoded& d, int channel) {
    const size_t frames = d.Frames();
    if (frames < 100 || d.rate == 0)
        return 0;
    const size_t begin = frames / 10, end = frames - frames / 10;
    int peak = 0;
    for (size_t i = begin; i < end; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(d.samples[i * d.channels + channel])));
    const int threshold = peak / 3;
    if (threshold == 0)
        return 0;
    bool low = false;
    std::vector<size_t> rises;
    for (size_t i = begin; i < end; ++i) {
        const int v = d.samples[i * d.channels + channel];
        if (v < -threshold) {
            low = true;
        } else if (v > threshold && low) {
            low = false;
            rises.push_back(i);
        }
    }
    if (rises.size() < 2)
        return 0;
    std::vector<size_t> periods;
    for (size_t i = 1; i < rises.size(); ++i)
        periods.push_back(rises[i] - rises[i - 1]);
    std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
    const size_t typical = periods[periods.size() / 2];
    size_t runStart = 0, bestStart = 0, bestEnd = 0;
    for (size_t i = 1; i <= rises.size(); ++i) {
        if (i == rises.size() || rises[i] - rises[i - 1] > typical * 3 / 2) {
            if (rises[i - 1] - rises[runStart] > rises[bestEnd] - rises[bestStart]) {
                bestStart = runStart;
                bestEnd = i - 1;
            }
            runStart = i;
        }
    }
    if (bestEnd == bestStart)
        return 0;
    return static_cast<double>(bestEnd - bestStart) * d.rate /
           static_cast<double>(rises[bestEnd] - rises[bestStart]);
}

// Amplitude of the channel's component at a frequency, full scale 1, over
// frames [begin, end) (Hann window: neighbouring tones leak little).
inline double ToneLevelIn(const Decoded& d, int channel, double frequency, size_t begin,
                          size_t end) {
    if (end <= begin || d.rate == 0)
        return 0;
    // Rotating phasors rather than a sine and cosine per sample.
    const double a = 2 * M_PI * frequency / d.rate, b = 2 * M_PI / double(end - begin);
    const double stepRe = std::cos(a), stepIm = std::sin(a);
    const double windowRe = std::cos(b), windowIm = std::sin(b);
    double re = std::cos(a * double(begin)), im = std::sin(a * double(begin));
    double wRe = 1, wIm = 0, sumRe = 0, sumIm = 0, weight = 0;
    for (size_t i = begin; i < end; ++i) {
        const double w = 0.5 - 0.5 * wRe;
        const double v = w * (d.samples[i * d.channels + channel] / 32768.0);
        sumRe += v * re;
        sumIm += v * im;
        weight += w;
        const double nextRe = re * stepRe - im * stepIm;
        im = re * stepIm + im * stepRe;
        re = nextRe;
        const double nextWRe = wRe * windowRe - wIm * windowIm;
        wIm = wRe * windowIm + wIm * windowRe;
        wRe = nextWRe;
    }
    return weight > 0 ? 2 * std::hypot(sumRe, sumIm) / weight : 0;
}

// The same over the middle four fifths of the take.
inline double ToneLevel(const Decoded& d, int channel, double frequency) {
    const size_t frames = d.Frames();
    return ToneLevelIn(d, channel, frequency, frames / 10, frames - frames / 10);
}

// A tone's level as a spectrogram shows it: the strongest component within
// 0.6 % of the frequency (where two clocks are kept together by resampling,
// a tone moves by up to half a per cent), in quarter seconds of the middle
// four fifths (or from begin to end), the median of them (a test tone player
// starved for a moment on a busy machine leaves a gap in one or two).
inline double ToneLevelNear(const Decoded& d, int channel, double frequency, size_t begin = 0,
                            size_t end = 0) {
    const size_t frames = d.Frames(), piece = static_cast<size_t>(d.rate) / 4;
    if (end == 0) {
        begin = frames / 10;
        end = frames - frames / 10;
    }
    std::vector<double> levels;
    for (size_t at = begin; piece > 0 && at + piece <= end; at += piece) {
        double level = 0;
        for (int step = -6; step <= 6; ++step)
            level = std::max(
                level, ToneLevelIn(d, channel, frequency * (1 + step * 0.001), at, at + piece));
        levels.push_back(level);
    }
    if (levels.empty())
        return 0;
    std::nth_element(levels.begin(), levels.begin() + levels.size() / 2, levels.end());
    return levels[levels.size() / 2];
}

inline double Decibels(double ratio) {
    return 20 * std::log10(ratio);
}

// The strongest component of the channel's spectrum further than `apart` Hz
// from its strongest of all, in dB against it: over n frames from begin (n a
// power of two), under a Blackman-Harris window, whose leakage is 92 dB down.
inline double WorstProduct(const Decoded& d, int channel, size_t begin, size_t n, double apart) {
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) {
        const double x = 2 * M_PI * double(i) / double(n - 1);
        const double w =
            0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        a[i] =
            w *
            d.samples[(begin + i) * static_cast<size_t>(d.channels) + static_cast<size_t>(channel)];
    }
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> turn = std::polar(1.0, -2 * M_PI / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; ++k, w *= turn) {
                const std::complex<double> x = a[i + k], y = a[i + k + len / 2] * w;
                a[i + k] = x + y;
                a[i + k + len / 2] = x - y;
            }
        }
    }
    size_t peak = 1;
    for (size_t k = 1; k < n / 2; ++k)
        if (std::abs(a[k]) > std::abs(a[peak]))
            peak = k;
    const double binHz = double(d.rate) / double(n);
    double worst = 0;
    for (size_t k = 1; k < n / 2; ++k)
        if (std::abs(double(k) - double(peak)) * binHz > apart)
            worst = std::max(worst, std::abs(a[k]));
    return Decibels(worst / std::abs(a[peak]));
}

// Decoded samples at or past this are taken as clipped.
inline size_t ClippedSamples(const Decoded& d) {
    return static_cast<size_t>(std::count_if(d.samples.begin(), d.samples.end(),
                                             [](int16_t v) { return std::abs(v) >= 32000; }));
}

struct FrameWalk {
    int frames = 0;
    int framesWithoutCrc = 0;
    int sampleRate = 0;
    int samplesPerFrame = 0;
    size_t firstFrameBytes = 0;
    bool broken = false; // something that is not a frame where one should start
};

// Walks the MPEG audio layer III frames of a file without tags.
inline FrameWalk WalkFrames(const std::vector<uint8_t>& bytes, size_t end = 0) {
    static const int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                112, 128, 160, 192, 224, 256, 320, 0};
    static const int kV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    FrameWalk walk;
    if (end == 0 || end > bytes.size())
        end = bytes.size();
    size_t at = 0;
    while (at + 4 <= end) {
        const uint8_t b1 = bytes[at + 1], b2 = bytes[at + 2];
        const int version = (b1 >> 3) & 3, layer = (b1 >> 1) & 3;
        const int bitrateIndex = b2 >> 4, rateIndex = (b2 >> 2) & 3;
        if (bytes[at] != 0xFF || (b1 & 0xE0) != 0xE0 || version == 1 || layer != 1 ||
            rateIndex == 3 || bitrateIndex == 0 || bitrateIndex == 15) {
            walk.broken = true;
            break;
        }
        const int rate = kRates[version][rateIndex];
        const int kbps = version == 3 ? kV1[bitrateIndex] : kV2[bitrateIndex];
        const int padding = (b2 >> 1) & 1;
        const size_t length =
            static_cast<size_t>((version == 3 ? 144000 : 72000) * kbps / rate + padding);
        walk.sampleRate = rate;
        walk.samplesPerFrame = version == 3 ? 1152 : 576;
        if ((b1 & 1) != 0)
            ++walk.framesWithoutCrc;
        if (walk.frames == 0)
            walk.firstFrameBytes = length;
        ++walk.frames;
        at += length;
    }
    if (at != end && at < end)
        walk.broken = true;
    return walk;
}

// The frame count a VBR header frame at the start of the file announces; -1
// without one (a placeholder of zeros announces nothing).
inline long VbrHeaderFrames(const std::vector<uint8_t>& bytes) {
    const size_t limit = std::min<size_t>(bytes.size(), 200);
    for (size_t at = 4; at + 12 <= limit; ++at) {
        const std::string tag(bytes.begin() + static_cast<long>(at),
                              bytes.begin() + static_cast<long>(at) + 4);
        if (tag != "Xing" && tag != "Info")
            continue;
        const auto be32 = [&](size_t p) {
            return static_cast<long>(static_cast<uint32_t>(bytes[p]) << 24 | bytes[p + 1] << 16 |
                                     bytes[p + 2] << 8 | bytes[p + 3]);
        };
        return (be32(at + 4) & 1) ? be32(at + 8) : -1;
    }
    return -1;
}

inline double FfprobeDuration(const std::string& path) {
    const std::string out = RunCommand("ffprobe -v error -show_entries format=duration -of "
                                       "default=noprint_wrappers=1:nokey=1 '" +
                                       path + "' 2>/dev/null");
    return out.empty() ? -1 : std::atof(out.c_str());
}
