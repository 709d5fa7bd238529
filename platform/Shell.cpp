#include "Shell.h"

#include "Common.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<void(const std::string&)>& shellOpener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}
} // namespace

void OpenWithShell(const std::string& target) {
    if (shellOpener()) {
        shellOpener()(target);
        return;
    }
    QDesktopServices::openUrl(ShellUrl(target));
}

void SetShellOpener(std::function<void(const std::string&)> opener) {
    shellOpener() = std::move(opener);
}
