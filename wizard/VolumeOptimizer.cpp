#include "VolumeOptimizer.h"

#include "Bass.h"

namespace {
constexpr DWORD kInputOnAt = BASS_INPUT_ON | BASS_INPUT_LEVEL; // plus the percentage
}

VolumeOptimizer::VolumeOptimizer(OptimizerHost& host, QObject* parent)
    : QObject(parent), m_host(host) {
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &VolumeOptimizer::refresh);
}

VolumeOptimizer::~VolumeOptimizer() {
    if (m_searching)
        BASS_ChannelStop(kRecordChannel);
}

void VolumeOptimizer::ComboRecChannelChange(int channel) {
    m_host.ShowLevels(0, 0);
    BASS_RecordFree();
    m_searching = false;
    // No block runs now; a refresh still queued from the last one shows zeros.
    m_left = 0;
    m_right = 0;
    if (!BASS_RecordInit(-1)) {
        m_host.ShowError(kNoDeviceText);
        return;
    }
    for (int i = 0; BASS_RecordSetInput(i, BASS_INPUT_OFF); ++i) {
    }
    // The search turns the user's input up and down; only Finish keeps that.
    BASS_RecordGuardVolumes();
    m_channel = channel;
    BASS_RecordSetInput(channel, kInputOnAt | kStartVolume);
    // Set before the start: the first block may come before the start returns,
    // and must step down from 100, not from where the last search ended.
    const int previous = m_volume.exchange(kStartVolume);
    if (!BASS_RecordStart(kCaptureRate, 0, &VolumeOptimizer::recordProc, this)) {
        m_volume = previous;
        m_host.ShowError(kNoChannelText);
        return;
    }
    m_searching = true;
    m_host.ShowVolume(kStartVolume);
}

void VolumeOptimizer::Settle(int percent) {
    // Stopped first: a block handled after it would step the volume again.
    if (m_searching)
        BASS_ChannelStop(kRecordChannel);
    m_searching = false;
    m_volume = percent;
    BASS_RecordSetInput(m_channel.load(), kInputOnAt | static_cast<DWORD>(percent));
}

bool VolumeOptimizer::recordProc(const void*, uint32_t, void* user) {
    return static_cast<VolumeOptimizer*>(user)->OptimizerBlockHandler();
}

bool VolumeOptimizer::OptimizerBlockHandler() {
    const DWORD level = BASS_ChannelGetLevel(kRecordChannel);
    const auto left = level & 0xFFFF;
    m_left = static_cast<int>(left);
    m_right = static_cast<int>(level >> 16);
    if (left > kTooLoud) {
        int volume = m_volume.load();
        if (volume > kLowestVolume)
            m_volume = --volume;
        // Sent at every loud block, also when the volume is already the lowest.
        BASS_RecordSetInput(m_channel.load(), kInputOnAt | static_cast<DWORD>(volume));
    }
    if (m_volume.load() < kLowestVolume)
        m_volume = kLowestVolume;
    requestRefresh();
    return true;
}

void VolumeOptimizer::requestRefresh() {
    // One refresh in flight at a time: the window's queue never fills up with
    // blocks it has not yet shown.
    if (!m_refreshPending.exchange(true))
        QMetaObject::invokeMethod(this, &VolumeOptimizer::refresh, Qt::QueuedConnection);
}

void VolumeOptimizer::refresh() {
    if (m_lastRefresh.isValid() && m_lastRefresh.elapsed() < kRefreshMs) {
        if (!m_refreshTimer.isActive())
            m_refreshTimer.start(static_cast<int>(kRefreshMs - m_lastRefresh.elapsed()));
        return;
    }
    // Cleared before reading, so that a block handled meanwhile asks again.
    m_refreshPending = false;
    m_lastRefresh.start();
    m_host.ShowLevels(m_left.load(), m_right.load());
    m_host.ShowVolume(m_volume.load());
}
