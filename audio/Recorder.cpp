#include "Recorder.h"

#include <QCoreApplication>

#include "Bass.h"
#include "Common.h"
#include "Logging.h"
#include "QualityPresets.h"

#include <cstring>
#include <filesystem>
#include <new>

namespace {
// Room for a flush's worth (a second at 320 kbps is 40 KB) and the
// output of a long block, so that the pending buffer does not grow while
// recording.
constexpr size_t kPendingReserve = 1024 * 1024;
constexpr DWORD kCapturePeriodMs = 250;
} // namespace

Recorder::Recorder(RecorderHost& host, std::string workingFolder, QObject* parent)
    : QObject(parent), m_host(host), m_workingFolder(WithTrailingSeparator(workingFolder)),
      m_createFile(&CreateNewFile) {}

Recorder::~Recorder() {
    if (m_encoder) {
        BASS_ChannelStop(kRecordChannel);
        releaseRecording();
    }
}

void Recorder::CreateStreams() {
    m_mp3PendingStream.clear();
    m_mp3PendingStream.reserve(kPendingReserve);
    m_streamsCreated = true;
}

void Recorder::FreeStreams() {
    m_mp3PendingStream = {};
    m_streamsCreated = false;
}

bool Recorder::IsActive() const {
    // After a capture ended on its own the channel is idle, but the take is
    // not finished until its stop sequence has run.
    return BASS_ChannelIsActive(kRecordChannel) != BASS_ACTIVE_STOPPED || m_encoder != nullptr;
}

void Recorder::ToggleRecording(bool email) {
    if (IsActive()) {
        stopSequence();
        return;
    }
    emailAfterRecording = email;
    startSequence();
}

void Recorder::TogglePause() {
    // The optimizer captures on the same channel: its search is not a take.
    if (!m_encoder)
        return;
    switch (BASS_ChannelIsActive(kRecordChannel)) {
    case BASS_ACTIVE_PLAYING:
    case BASS_ACTIVE_STALLED:
        if (BASS_ChannelPause(kRecordChannel))
            m_host.TakeChanged(RecorderHost::Take::Paused);
        break;
    case BASS_ACTIVE_PAUSED:
        if (BASS_ChannelResume(kRecordChannel))
            m_host.TakeChanged(RecorderHost::Take::Recording);
        break;
    default:
        break;
    }
}

void Recorder::startSequence() {
    const RecorderHost::Settings settings = m_host.RecordingSettings();
    if (settings.channel < 0) {
        m_host.ShowError(QCoreApplication::translate("Recorder", "Recording Channel not specified.")
                             .toStdString());
        return;
    }
    m_host.TakeChanged(RecorderHost::Take::Recording);
    recordStartTick = TickCount();
    encodedByteCount = 0;
    encodedSampleCount = 0;
    m_heldByteCount = 0;
    m_endRequested = false;
    m_writeFailed = false;

    const RecordingParameters params =
        RecordingParametersFor(settings.quality, settings.stereo, settings.vbr);
    const TakeInfo take{m_workingFolder, params.maxBitrate, params.vbr,
                        params.captureRate * static_cast<uint32_t>(params.captureChannels)};
    for (TakeWatcher* watcher : m_watchers) {
        const std::string refusal = watcher->Refusal(take);
        if (!refusal.empty()) {
            failedStart(refusal);
            return;
        }
    }

    std::error_code ec;
    tempFileName.clear();
    for (int n = 1; n < 1000000 && tempFileName.empty(); ++n) {
        const std::string candidate = m_workingFolder + "tmpfile" + std::to_string(n) + ".mp3";
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ec)))
            tempFileName = candidate;
    }
    m_tempFileStream = tempFileName.empty() ? nullptr : m_createFile(tempFileName);
    if (!m_tempFileStream) {
        failedStart(
            QCoreApplication::translate("Recorder", "Unable to create MP3 file.").toStdString());
        return;
    }

    m_encoder = std::make_unique<TLameCoder>();
    ConfigureEncoder(*m_encoder, params);
    m_vbr = params.vbr;
    m_flushByteCount = size_t{kFlushSeconds} * params.captureRate * (settings.stereo ? 2 : 1) * 2;
    m_firstWritten = false;
    if (m_encoder->OpenStream() != BE_ERR_SUCCESSFUL || m_encoder->SamplesPerChunk() == 0) {
        failedStart(QCoreApplication::translate("Recorder", "Unable to start the MP3 encoder.")
                        .toStdString());
        return;
    }

    m_chunkByteCount = m_encoder->SamplesPerChunk() * 2;
    // Room for the second held and a round's blocks beyond it: no allocation
    // on the capture thread in the usual course.
    m_pcmHeld.assign(m_flushByteCount, 0);
    m_mp3OutputBuffer.assign(m_encoder->OutputBufferSize(), 0);
    if (!m_streamsCreated)
        CreateStreams();
    m_mp3PendingStream.clear();

    for (int i = 0; BASS_RecordSetInput(i, BASS_INPUT_OFF); ++i) {
    }
    BASS_RecordSetInput(settings.channel,
                        BASS_INPUT_ON | BASS_INPUT_LEVEL | static_cast<DWORD>(settings.volume));

    // Blocks gathered over a period cost far fewer wake-ups on a laptop than
    // each taken as the server sends it. A quarter of a second is asked for;
    // the backend may space its rounds otherwise (CaptureBackend::Start()).
    // A stop or a pause wakes the capture at once and takes in what is on its
    // way, so neither waits for a batch; the meter reads the highest peak
    // since its last look.
    const DWORD flags = MAKELONG(settings.stereo ? 0 : BASS_SAMPLE_MONO, kCapturePeriodMs);
    if (!BASS_RecordStart(params.captureRate, flags, &Recorder::recordProc, this,
                          &Recorder::captureFailed)) {
        failedStart(
            QCoreApplication::translate("Recorder", "Unable to start recording.").toStdString());
        return;
    }
    m_watched = true;
    for (TakeWatcher* watcher : m_watchers)
        watcher->TakeStarted(take);
}

void Recorder::failedStart(const std::string& text) {
    // The empty file goes, and the take is wholly gone before the box shows:
    // its event loop lets clicks and hot keys through.
    if (m_tempFileStream) {
        m_tempFileStream->Close();
        m_tempFileStream.reset();
        std::error_code ec;
        std::filesystem::remove(tempFileName, ec);
    }
    tempFileName.clear();
    releaseRecording();
    qCWarning(lcAudio, "A take did not start: %s", text.c_str());
    m_host.TakeChanged(RecorderHost::Take::Idle);
    m_host.ShowError(text);
}

void Recorder::releaseRecording() {
    if (m_encoder)
        m_encoder->CloseStream();
    m_encoder.reset();
    m_pcmHeld = {};
    m_heldByteCount = 0;
    m_mp3OutputBuffer = {};
    m_chunkByteCount = 0;
    if (m_watched) {
        m_watched = false;
        for (TakeWatcher* watcher : m_watchers)
            watcher->TakeEnded();
    }
}

bool Recorder::recordProc(const void* block, uint32_t length, void* user) {
    return static_cast<Recorder*>(user)->RecordBlockHandler(block, length);
}

void Recorder::captureFailed(void* user) {
    static_cast<Recorder*>(user)->endFromCapture(kDeviceLostText);
}

bool Recorder::encode(const int16_t* pcm) {
    uint32_t count = 0;
    if (m_encoder->EncodeChunk(pcm, m_mp3OutputBuffer.data(), count) != BE_ERR_SUCCESSFUL)
        return false;
    encodedByteCount += count;
    encodedSampleCount += m_encoder->SamplesPerChunk();
    try {
        m_mp3PendingStream.insert(m_mp3PendingStream.end(), m_mp3OutputBuffer.data(),
                                  m_mp3OutputBuffer.data() + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Recorder::flushPending() {
    const bool ok = m_tempFileStream->Write(m_mp3PendingStream.data(), m_mp3PendingStream.size());
    m_mp3PendingStream.clear();
    return ok;
}

bool Recorder::RecordBlockHandler(const void* block, uint32_t length) {
    const size_t held = m_heldByteCount + length;
    if (held > m_pcmHeld.size() * sizeof(int16_t)) {
        try {
            m_pcmHeld.resize((held + 1) / sizeof(int16_t));
        } catch (const std::bad_alloc&) {
            return writeFailed();
        }
    }
    std::memcpy(reinterpret_cast<uint8_t*>(m_pcmHeld.data()) + m_heldByteCount, block, length);
    m_heldByteCount = held;

    // A second of sound is encoded in one go. Woken four times a second for
    // a few frames each, the encoder ran a third slower than straight through
    // (a second at a time, a fifth): it starts cold on every wake. A crash
    // loses no more than when the encoded bytes waited for the second.
    if (m_heldByteCount < m_flushByteCount && m_firstWritten)
        return true;
    if (!encodeHeld())
        return writeFailed();
    if (!m_mp3PendingStream.empty()) {
        m_firstWritten = true;
        if (!flushPending())
            return writeFailed();
    }
    return true;
}

// Samples reach the encoder in whole chunks, in order, whatever the block
// sizes; less than a chunk stays for the next block.
bool Recorder::encodeHeld() {
    size_t used = 0;
    for (; used + m_chunkByteCount <= m_heldByteCount; used += m_chunkByteCount) {
        if (!encode(m_pcmHeld.data() + used / sizeof(int16_t)))
            return false;
    }
    std::memmove(m_pcmHeld.data(), reinterpret_cast<const uint8_t*>(m_pcmHeld.data()) + used,
                 m_heldByteCount - used);
    m_heldByteCount -= used;
    return true;
}

bool Recorder::writeFailed() {
    qCWarning(lcAudio, "The take ends early: its sound could not be held, encoded or written; "
                       "what was written is kept");
    m_writeFailed = true;
    endFromCapture(kWriteFailedText);
    return false;
}

void Recorder::endFromCapture(const char* text) {
    if (m_endRequested.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            m_host.ShowNotification(tr(text).toStdString());
            // A click may have finished the take in the meantime.
            if (m_encoder)
                stopSequence();
        },
        Qt::QueuedConnection);
}

void Recorder::stopSequence() {
    BASS_ChannelStop(kRecordChannel);
    if (!m_encoder)
        return;
    bool written = encodeHeld();
    if (!m_mp3PendingStream.empty())
        written = flushPending() && written;
    uint32_t count = 0;
    if (m_encoder->FinishStream(m_mp3OutputBuffer.data(), count) == BE_ERR_SUCCESSFUL && count > 0)
        written = m_tempFileStream->Write(m_mp3OutputBuffer.data(), count) && written;
    written = m_tempFileStream->Close() && written;
    m_tempFileStream.reset();
    // Held bytes of less than a chunk are dropped unencoded.
    if (m_vbr && written && !m_writeFailed)
        m_encoder->WriteInfoTag(tempFileName);
    releaseRecording();
    if (!written)
        qCWarning(lcAudio, "The end of the take could not be written: %s", tempFileName.c_str());
    // A failure during the take has been reported already.
    OfferTake(tempFileName, emailAfterRecording,
              !written && !m_writeFailed ? tr(kEndNotWrittenText).toStdString() : std::string());
    m_endRequested = false;
}

void Recorder::OfferTake(const std::string& fileName, bool email, const std::string& problem) {
    tempFileName = fileName;
    // Busy first, so that no click starts a take while the news is shown.
    m_host.EnterTrayBusyMode();
    if (!problem.empty())
        m_host.ShowError(problem);
    m_host.RunSaveDialog(tempFileName, email);
    m_host.SaveLastDir();
    tempFileName.clear();
    m_host.LeaveTrayBusyMode();
}
