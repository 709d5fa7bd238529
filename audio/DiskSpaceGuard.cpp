#include "DiskSpaceGuard.h"

#include "Logging.h"

#include <algorithm>
#include <cmath>

#include <sys/statvfs.h>

double BytesPerSecond(const TakeRate& rate) {
    const double nominal = rate.bitRate * 1000.0 / 8.0;
    if (!rate.vbr || rate.secondsSoFar < kVbrJudgedAfterSeconds || rate.bytesSoFar <= 0)
        return nominal;
    return static_cast<double>(rate.bytesSoFar) / rate.secondsSoFar;
}

double MinutesLeft(uint64_t freeBytes, const TakeRate& rate) {
    const double perSecond = BytesPerSecond(rate);
    if (perSecond <= 0)
        return INFINITY;
    return static_cast<double>(freeBytes) / perSecond / 60.0;
}

std::optional<uint64_t> FreeDiskBytes(const std::string& folder) {
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
}

DiskSpaceGuard::DiskSpaceGuard(const Recorder& recorder, RecorderHost& host, FreeSpace freeSpace)
    : m_recorder(recorder), m_host(host), m_freeSpace(std::move(freeSpace)) {
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DiskSpaceGuard::Check);
}

std::string DiskSpaceGuard::LowSpaceText(int minutes) {
    // English has its forms from its own catalogue, as every language does.
    return tr("Low disk space: room for %n more minute(s) of recording.", nullptr, minutes)
        .toStdString();
}

std::string DiskSpaceGuard::RefusalText(const std::string& folder) {
    std::string shown = folder;
    if (shown.size() > 1 && shown.back() == '/')
        shown.pop_back();
    return tr("Not enough free disk space to record: less than a minute of recording fits in %1.")
        .arg(QString::fromStdString(shown))
        .toStdString();
}

std::string DiskSpaceGuard::Refusal(const TakeInfo& take) {
    // Unreadable: creating the file will tell.
    const std::optional<uint64_t> free = m_freeSpace(take.folder);
    if (!free)
        qCWarning(lcAudio, "Could not read the free space of %s; the take may start",
                  take.folder.c_str());
    if (free && MinutesLeft(*free, {take.bitRate, take.vbr, 0, 0}) < kLastMinutes) {
        qCDebug(lcAudio, "Not enough free space in %s for a minute: %llu bytes",
                take.folder.c_str(), static_cast<unsigned long long>(*free));
        return RefusalText(take.folder);
    }
    return {};
}

void DiskSpaceGuard::TakeStarted(const TakeInfo& take) {
    m_take = take;
    m_warned = false;
    m_lastWarned = false;
    m_unreadableTold = false;
    m_timer.start();
}

void DiskSpaceGuard::TakeEnded() {
    m_timer.stop();
}

void DiskSpaceGuard::Check() {
    TakeRate rate{m_take.bitRate, m_take.vbr, m_recorder.encodedByteCount.load(), 0};
    if (m_take.samplesPerSecond > 0)
        rate.secondsSoFar =
            static_cast<double>(m_recorder.encodedSampleCount.load()) / m_take.samplesPerSecond;
    // Warned by its ceiling, a variable rate would often cry wolf.
    if (m_take.vbr && rate.secondsSoFar < kVbrJudgedAfterSeconds)
        return;
    const std::optional<uint64_t> free = m_freeSpace(m_take.folder);
    if (!free) {
        // Once a take: the timer asks every two seconds.
        if (!m_unreadableTold)
            qCWarning(lcAudio, "Could not read the free space of %s; no warning before it fills",
                      m_take.folder.c_str());
        m_unreadableTold = true;
        return;
    }
    const double minutes = MinutesLeft(*free, rate);
    // Both at once (another program took the space): the graver news alone.
    if (minutes < kLastMinutes && !m_lastWarned) {
        qCDebug(lcAudio, "Less than a minute of the take fits in %s", m_take.folder.c_str());
        m_lastWarned = m_warned = true;
        m_host.ShowNotification(tr(kLastMinuteText).toStdString());
    } else if (minutes < kWarnMinutes && !m_warned) {
        qCDebug(lcAudio, "%.1f minutes of the take fit in %s", minutes, m_take.folder.c_str());
        m_warned = true;
        m_host.ShowNotification(LowSpaceText(std::max(1, static_cast<int>(minutes))));
    }
}
