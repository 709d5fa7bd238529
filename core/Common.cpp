#include "Common.h"

#include <QCoreApplication>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::function<void()>& programEnder() {
    static std::function<void()> ender;
    return ender;
}
} // namespace

std::string WithTrailingSeparator(const std::string& path) {
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

std::string ProgramFolder() {
    std::error_code ec;
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    const auto slash = exe.rfind('/');
    if (ec || slash == std::string::npos)
        return "./";
    return WithTrailingSeparator(exe.substr(0, slash + 1));
}

bool MakePrivateFolder(const std::string& path) {
    if (path.empty())
        return false;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

QUrl ShellUrl(const std::string& target) {
    const QString text = QString::fromStdString(target);
    const bool isAddress = text.contains(QStringLiteral("://")) ||
                           text.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
    return isAddress ? QUrl(text) : QUrl::fromLocalFile(text);
}

void EndProgramAtOnce() {
    if (programEnder()) {
        programEnder()();
        return;
    }
    // No destructors: nothing may be written on the way out. The kernel
    // releases the instance lock.
    std::fflush(nullptr);
    std::_Exit(1);
}

void SetProgramEnder(std::function<void()> ender) {
    programEnder() = std::move(ender);
}

int64_t RoundedSeconds(int32_t milliseconds) {
    // Integer arithmetic, so that exact halves are seen as halves.
    int64_t seconds = milliseconds / 1000;
    const int64_t rest = milliseconds % 1000;
    const int64_t absRest = rest < 0 ? -rest : rest;
    const int64_t away = rest < 0 ? -1 : 1;
    if (absRest > 500 || (absRest == 500 && seconds % 2 != 0))
        seconds += away;
    return seconds;
}

std::string FormatDuration(int32_t milliseconds) {
    const int64_t seconds = RoundedSeconds(milliseconds);
    const int64_t hours = seconds / 3600;
    const int64_t minutes = (seconds % 3600) / 60;
    const int64_t secs = (seconds % 3600) % 60;
    char text[64];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld:%.2lld", static_cast<long long>(hours),
                  static_cast<long long>(minutes), static_cast<long long>(secs));
    return text;
}

QString PercentText(int percent) {
    return QCoreApplication::translate("Common", "%1%", "a percentage").arg(percent);
}

uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
