#pragma once

#include "FileWriter.h"
#include "LameCoder.h"
#include "SettingsFile.h"
#include "SoundSystem.h"
#include "TakeWatcher.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the recorder needs from the user interface. The main window
// implements it; tests fake it.
class RecorderHost {
public:
    struct Settings {
        Settings() : Settings(RecorderSettings()) {}
        explicit Settings(const RecorderSettings& s)
            : channel(s.channel), quality(s.quality), volume(s.volume.value_or(kFallbackVolume)),
              stereo(s.stereo), vbr(s.vbr) {}
        Settings(int channel, int quality, int volume, bool stereo, bool vbr)
            : channel(channel), quality(quality), volume(volume), stereo(stereo), vbr(vbr) {}
        int channel; // input index, -1 when none is chosen
        int quality; // position in QualityPresets
        int volume;  // percent
        bool stereo;
        bool vbr;
    };

    virtual ~RecorderHost() = default;
    // The live values of the controls, read once at the start of a take.
    virtual Settings RecordingSettings() = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowNotification(const std::string& text) = 0;
    // What became of the take: begun, paused or resumed, ended or never begun.
    enum class Take { Idle, Recording, Paused };
    virtual void TakeChanged(Take take) = 0;
    virtual void EnterTrayBusyMode() = 0;
    virtual void LeaveTrayBusyMode() = 0;
    // Modal: moves, tags, mails or deletes the finished take.
    virtual void RunSaveDialog(const std::string& tempFileName, bool emailAfterRecording) = 0;
    // Writes the folder last saved to; reports a failure itself.
    virtual void SaveLastDir() = 0;
};

// Starts, stops, pauses and resumes takes; encodes captured blocks into the
// take's temporary MP3 file on the capture thread.
class Recorder : public QObject {
    Q_OBJECT
public:
    using FileFactory = std::function<std::unique_ptr<FileWriter>(const std::string& path)>;

    // workingFolder: the folder of temporary takes ("…/tmp").
    Recorder(RecorderHost& host, std::string workingFolder, QObject* parent = nullptr);
    ~Recorder() override;

    void ToggleRecording(bool emailAfterRecording);
    void TogglePause();
    // True from a successful start until the stop sequence has run.
    bool IsActive() const;

    // Offers a finished take for saving, in busy mode: the end of every stop,
    // and the way takes left by an earlier run come back. A problem with the
    // take is shown first.
    void OfferTake(const std::string& fileName, bool emailAfterRecording,
                   const std::string& problem = {});

    // The two long-lived buffers, made at start-up and freed at shut-down.
    void CreateStreams();
    void FreeStreams();

    // Called by the capture functions for every block.
    bool RecordBlockHandler(const void* block, uint32_t length);

    std::string tempFileName;
    bool emailAfterRecording = false;
    uint32_t recordStartTick = 0;
    std::atomic<int64_t> encodedByteCount{0};
    // Samples of all channels encoded: the take's length in sound, pauses
    // left out.
    std::atomic<int64_t> encodedSampleCount{0};

    // Told of every take's start and end; each outlives the recorder.
    void AddTakeWatcher(TakeWatcher& watcher) { m_watchers.push_back(&watcher); }

    // Tests write through failing writers.
    void SetFileFactory(FileFactory factory) { m_createFile = std::move(factory); }

    // Sound is held until this much of it has come, then encoded and written
    // at once, so that a crash or a disk filled by another program loses
    // little of a take at any bit rate. The first frames are written as soon
    // as they come.
    static constexpr uint32_t kFlushSeconds = 1;
    // Translated where they are handed to the host.
    static constexpr const char* kWriteFailedText = QT_TRANSLATE_NOOP(
        "Recorder", "Failed to write MP3 file to disk. Please check your disk space.");
    static constexpr const char* kEndNotWrittenText = QT_TRANSLATE_NOOP(
        "Recorder",
        "The end of the recording could not be written to disk. The file is incomplete.");
    static constexpr const char* kDeviceLostText = QT_TRANSLATE_NOOP(
        "Recorder", "Recording stopped: the recording device is no longer available.");

private:
    static bool recordProc(const void* block, uint32_t length, void* user);
    static void captureFailed(void* user);

    void startSequence();
    void stopSequence();
    void failedStart(const std::string& text);
    void releaseRecording();
    bool encode(const int16_t* pcm);
    bool encodeHeld();
    bool flushPending();
    // From the capture thread: notify and stop on the GUI thread.
    void endFromCapture(const char* text);
    bool writeFailed();

    RecorderHost& m_host;
    std::string m_workingFolder;
    FileFactory m_createFile;

    std::unique_ptr<TLameCoder> m_encoder;
    std::unique_ptr<FileWriter> m_tempFileStream;
    std::vector<uint8_t> m_mp3PendingStream;
    bool m_streamsCreated = false;
    // Sound not yet encoded; counted in bytes, as blocks may split a sample.
    std::vector<int16_t> m_pcmHeld;
    size_t m_heldByteCount = 0;
    std::vector<uint8_t> m_mp3OutputBuffer;
    uint32_t m_chunkByteCount = 0;
    // Counted in sound, not by the clock: blocks come late.
    size_t m_flushByteCount = 0;
    bool m_firstWritten = false;
    bool m_vbr = false;
    bool m_writeFailed = false;
    std::atomic<bool> m_endRequested{false};
    std::vector<TakeWatcher*> m_watchers;
    bool m_watched = false; // the watchers were told of a start
};
