#include "SimulatedBackend.h"

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

std::vector<CaptureInput> SimulatedBackend::Inputs() {
    std::lock_guard lock(m_mutex);
    return m_connected ? m_script.inputs : std::vector<CaptureInput>{};
}

bool SimulatedBackend::SetInput(int index, std::optional<bool> on, std::optional<int> volume) {
    std::lock_guard lock(m_mutex);
    std::string call = "SetInput " + std::to_string(index);
    if (on)
        call += *on ? " on" : " off";
    if (volume)
        call += " " + std::to_string(*volume);
    log(call);
    if (!m_connected || index < 0 || index >= static_cast<int>(m_script.inputs.size()))
        return false;
    if (on)
        m_selected = *on ? index : (m_selected == index ? -1 : m_selected);
    if (volume)
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
    if (!m_connected || !m_script.startSucceeds || m_state != 0)
        return false;
    joinThread(lock);
    m_rate = rate;
    m_channels = channels;
    m_onBlock = std::move(onBlock);
    m_onFail = std::move(onFail);
    m_stopRequested = false;
    m_level = 0;
    m_state = 1;
    m_thread = std::thread([this] { run(); });
    m_threadId = m_thread.get_id();
    return true;
}

void SimulatedBackend::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] {
            return m_stopRequested || (m_state == 1 && (!m_queue.empty() || m_failPending));
        });
        if (m_stopRequested)
            return;
        if (m_queue.empty()) {
            m_failPending = false;
            m_state = 0;
            log("Failed");
            lock.unlock();
            if (m_onFail)
                m_onFail();
            lock.lock();
            m_changed.notify_all();
            return;
        }
        std::vector<uint8_t> block = std::move(m_queue.front());
        m_queue.pop_front();
        m_level = PeakLevel(block.data(), static_cast<uint32_t>(block.size()), m_channels);
        m_inCallback = true;
        lock.unlock();
        const bool goOn = m_onBlock(block.data(), static_cast<uint32_t>(block.size()));
        lock.lock();
        m_inCallback = false;
        m_changed.notify_all();
        if (!goOn) {
            m_state = 0;
            m_queue.clear(); // like a server, never hands old sound to the next capture
            return;
        }
    }
}

void SimulatedBackend::Pause() {
    std::lock_guard lock(m_mutex);
    log("Pause");
    if (m_state == 1)
        m_state = 3;
}

void SimulatedBackend::Resume() {
    std::lock_guard lock(m_mutex);
    log("Resume");
    if (m_state == 3)
        m_state = 1;
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
    if (m_state != 0 || m_thread.joinable()) {
        log("Stop");
        m_queue.clear();
    }
    m_state = 0;
    joinThread(lock);
}

int SimulatedBackend::State() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

uint32_t SimulatedBackend::Level() const {
    std::lock_guard lock(m_mutex);
    return m_level;
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

void SimulatedBackend::WaitUntilDrained() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] {
        return (m_queue.empty() && !m_inCallback && !m_failPending) || m_state == 0;
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
