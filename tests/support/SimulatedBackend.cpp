#include "SimulatedBackend.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

SimulatedBackend::SimulatedBackend() : SimulatedBackend(Script{}) {}

SimulatedBackend::SimulatedBackend(Script script) : m_script(std::move(script)) {}

SimulatedBackend::~SimulatedBackend() {
    Stop();
}

void SimulatedBackend::log(std::string call) {
    m_calls.push_back(std::move(call));
}

bool SimulatedBackend::Connect() {
    std::lock_guard lock(m_mutex);
    log("Connect");
    m_connected = m_script.connects;
    return m_connected;
}

bool SimulatedBackend::HasOutputDevice() {
    std::lock_guard lock(m_mutex);
    log("HasOutputDevice");
    return m_connected && m_script.hasOutput;
}

int SimulatedBackend::mixedInput() const {
    const auto count = static_cast<int>(m_script.inputs.size());
    const bool offered = m_script.mixMicrophone >= 0 && m_script.mixMicrophone < count &&
                         m_script.mixSpeakers >= 0 && m_script.mixSpeakers < count;
    return offered ? count : -1;
}

std::vector<CaptureInput> SimulatedBackend::Inputs() {
    std::lock_guard lock(m_mutex);
    if (!m_connected)
        return {};
    std::vector<CaptureInput> inputs = m_script.inputs;
    if (mixedInput() >= 0)
        inputs.push_back({CaptureMixer::kInputName, CaptureMixer::kInputType, m_mixVolume});
    return inputs;
}

bool SimulatedBackend::SetInput(int index, std::optional<bool> on, std::optional<int> volume) {
    std::lock_guard lock(m_mutex);
    std::string call = "SetInput " + std::to_string(index);
    if (on)
        call += *on ? " on" : " off";
    if (volume)
        call += " " + std::to_string(*volume);
    log(call);
    const bool mixed = index >= 0 && index == mixedInput();
    if (!m_connected || index < 0 || (index >= static_cast<int>(m_script.inputs.size()) && !mixed))
        return false;
    if (on)
        m_selected = *on ? index : (m_selected == index ? -1 : m_selected);
    // The entry's volume is the microphone's share in the mix; the devices
    // themselves stay as the user set them.
    if (volume && mixed)
        m_mixVolume = *volume;
    else if (volume)
        m_script.inputs[static_cast<size_t>(index)].volume = *volume;
    return true;
}

int SimulatedBackend::SelectedInput() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

bool SimulatedBackend::Start(uint32_t rate, int channels, uint32_t, BlockFn onBlock,
                             FailFn onFail) {
    std::unique_lock lock(m_mutex);
    log("Start " + std::to_string(rate) + " " + std::to_string(channels));
    if (!m_connected || !m_script.startSucceeds || m_state != CaptureState::Stopped)
        return false;
    joinThread(lock);
    m_rate = rate;
    m_channels = channels;
    m_onBlock = std::move(onBlock);
    m_onFail = std::move(onFail);
    m_stopRequested = false;
    m_level.Reset();
    m_mixer.reset();
    if (m_selected >= 0 && m_selected == mixedInput()) {
        m_mixer = std::make_unique<CaptureMixer>(
            rate, channels, [this](const void* data, uint32_t length) {
                m_level.Raise(PeakLevel(data, length, m_channels));
                return m_onBlock(data, length);
            });
        if (!m_mixer->Ready())
            return false;
        m_mixer->SetMicrophoneVolume(m_mixVolume);
        m_played = m_playUntil = 0;
    }
    m_state = CaptureState::Recording;
    m_thread = std::thread([this] { run(); });
    m_threadId = m_thread.get_id();
    return true;
}

void SimulatedBackend::run() {
    std::unique_lock lock(m_mutex);
    if (m_mixer) {
        runMixed(lock);
        return;
    }
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_stopRequested ||
                   (m_state == CaptureState::Recording && (!m_queue.empty() || m_failPending));
        });
        if (m_stopRequested)
            return;
        if (m_queue.empty()) {
            m_failPending = false;
            fail(lock);
            return;
        }
        std::vector<uint8_t> block = std::move(m_queue.front());
        m_queue.pop_front();
        m_level.Raise(PeakLevel(block.data(), static_cast<uint32_t>(block.size()), m_channels));
        m_inCallback = true;
        lock.unlock();
        const bool goOn = m_onBlock(block.data(), static_cast<uint32_t>(block.size()));
        lock.lock();
        m_inCallback = false;
        m_changed.notify_all();
        if (!goOn) {
            m_state = CaptureState::Stopped;
            m_queue.clear(); // like a server, never hands old sound to the next capture
            return;
        }
    }
}

void SimulatedBackend::fail(std::unique_lock<std::mutex>& lock) {
    m_state = CaptureState::Stopped;
    log("Failed");
    // In a take from two devices, what came before the failure still counts.
    if (m_mixer)
        flushMixed(lock);
    lock.unlock();
    if (m_onFail)
        m_onFail();
    lock.lock();
    m_changed.notify_all();
}

// Both devices' blocks, in the order they are due, as fast as taken; time
// stands still while paused.
void SimulatedBackend::runMixed(std::unique_lock<std::mutex>& lock) {
    uint64_t frames[2] = {0, 0};
    std::vector<int16_t> block;
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_stopRequested ||
                   (m_state == CaptureState::Recording && m_played < m_playUntil);
        });
        if (m_stopRequested)
            return;
        uint32_t sizes[2];
        double due[2];
        for (int d = 0; d < 2; ++d) {
            const Device& device = m_script.devices[d];
            sizes[d] = std::max<uint32_t>(1, m_rate * device.blockMs / 1000);
            const uint64_t batch = uint64_t{sizes[d]} * std::max<uint32_t>(1, device.burst);
            due[d] = device.startsAt +
                     static_cast<double>((frames[d] / batch + 1) * batch) / (m_rate * device.clock);
        }
        const int d = due[1] < due[0] ? 1 : 0;
        const Device& device = m_script.devices[d];
        if (device.vanishesAt >= 0 && device.vanishesAt <= m_playUntil &&
            due[d] > device.vanishesAt) {
            fail(lock);
            return;
        }
        if (due[d] > m_playUntil) {
            m_played = m_playUntil;
            m_changed.notify_all();
            continue;
        }
        m_played = due[d];
        block.assign(static_cast<size_t>(sizes[d]) * static_cast<size_t>(m_channels), 0);
        if (device.sound)
            device.sound(block.data(), frames[d], sizes[d], m_rate, m_channels);
        frames[d] += sizes[d];
        m_inCallback = true;
        lock.unlock();
        const bool goOn =
            m_mixer->Feed(static_cast<CaptureMixer::Stream>(d), block.data(),
                          static_cast<uint32_t>(block.size() * 2), std::llround(due[d] * 1e6));
        lock.lock();
        m_inCallback = false;
        m_changed.notify_all();
        if (!goOn) {
            m_state = CaptureState::Stopped;
            return;
        }
    }
}

// Hands over what the mixer holds, with the lock let go: the block callback
// takes it for the level.
void SimulatedBackend::flushMixed(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    m_mixer->Flush();
    lock.lock();
}

void SimulatedBackend::Play(double seconds) {
    std::lock_guard lock(m_mutex);
    m_playUntil += seconds;
    m_changed.notify_all();
}

void SimulatedBackend::Pause() {
    std::unique_lock lock(m_mutex);
    log("Pause");
    if (m_state != CaptureState::Recording)
        return;
    m_state = CaptureState::Paused;
    if (m_mixer && std::this_thread::get_id() != m_threadId) {
        // The take keeps everything up to the pause, as a drained stream does.
        m_changed.wait(lock, [this] { return !m_inCallback; });
        flushMixed(lock);
    }
}

void SimulatedBackend::Resume() {
    std::lock_guard lock(m_mutex);
    log("Resume");
    if (m_state == CaptureState::Paused) {
        if (m_mixer)
            m_mixer->Restart();
        m_state = CaptureState::Recording;
    }
    m_changed.notify_all();
}

void SimulatedBackend::joinThread(std::unique_lock<std::mutex>& lock) {
    if (!m_thread.joinable())
        return;
    m_stopRequested = true;
    if (std::this_thread::get_id() == m_threadId) {
        m_thread.detach();
        return;
    }
    m_changed.notify_all();
    lock.unlock();
    m_thread.join();
    lock.lock();
}

void SimulatedBackend::Stop() {
    std::unique_lock lock(m_mutex);
    const bool recording = m_state == CaptureState::Recording;
    if (m_state != CaptureState::Stopped || m_thread.joinable()) {
        log("Stop");
        m_queue.clear();
    }
    m_state = CaptureState::Stopped;
    const bool fromCapture = std::this_thread::get_id() == m_threadId;
    joinThread(lock);
    if (m_mixer && recording && !fromCapture)
        flushMixed(lock);
}

CaptureState SimulatedBackend::State() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

uint32_t SimulatedBackend::Level() {
    return m_level.Look();
}

void SimulatedBackend::Disconnect() {
    Stop();
    std::lock_guard lock(m_mutex);
    log("Disconnect");
    m_connected = false;
    m_selected = -1;
}

void SimulatedBackend::Push(std::vector<uint8_t> block) {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(std::move(block));
    m_changed.notify_all();
}

void SimulatedBackend::FailAfterQueued() {
    std::lock_guard lock(m_mutex);
    m_failPending = true;
    m_changed.notify_all();
}

bool SimulatedBackend::WaitUntilDrained() {
    const int scale = std::max(1, qEnvironmentVariableIntValue("TAPEWREN_TEST_TIME_SCALE"));
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(15) * scale, [this] {
        return (m_queue.empty() && !m_inCallback && !m_failPending && m_played >= m_playUntil) ||
               m_state == CaptureState::Stopped;
    });
}

std::vector<std::string> SimulatedBackend::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

uint32_t SimulatedBackend::StartedRate() const {
    std::lock_guard lock(m_mutex);
    return m_rate;
}

int SimulatedBackend::StartedChannels() const {
    std::lock_guard lock(m_mutex);
    return m_channels;
}

void SimulatedBackend::SetInputsChangedHandler(InputsChangedFn onChange) {
    std::lock_guard lock(m_mutex);
    m_onChange = std::move(onChange);
}

void SimulatedBackend::GuardVolumes() {
    std::lock_guard lock(m_mutex);
    log("GuardVolumes");
}

void SimulatedBackend::KeepVolumes() {
    std::lock_guard lock(m_mutex);
    log("KeepVolumes");
}

void SimulatedBackend::replaceInputs(std::vector<CaptureInput> inputs) {
    InputsChangedFn notify;
    {
        std::lock_guard lock(m_mutex);
        const std::string selected =
            m_selected >= 0 && m_selected < static_cast<int>(m_script.inputs.size())
                ? m_script.inputs[static_cast<size_t>(m_selected)].name
                : std::string();
        m_script.inputs = std::move(inputs);
        m_selected = -1;
        for (size_t i = 0; i < m_script.inputs.size(); ++i)
            if (!selected.empty() && m_script.inputs[i].name == selected)
                m_selected = static_cast<int>(i);
        notify = m_onChange;
    }
    if (notify)
        notify();
}

void SimulatedBackend::Reconnect(std::vector<CaptureInput> inputs) {
    {
        std::lock_guard lock(m_mutex);
        log("Reconnect");
    }
    replaceInputs(std::move(inputs));
}

void SimulatedBackend::ChangeInputs(std::vector<CaptureInput> inputs) {
    replaceInputs(std::move(inputs));
}
