#include "DesktopTray.h"

#include "Logging.h"
#include "RecorderWindow.h"

DesktopTray::DesktopTray(std::unique_ptr<TrayPresence> presence, IconFactory makeIcon,
                         WindowFactory makeWindow)
    : m_presence(std::move(presence)), m_makeIcon(std::move(makeIcon)),
      m_makeWindow(std::move(makeWindow)) {
    connect(m_presence.get(), &TrayPresence::changed, this, &DesktopTray::follow);
    follow();
}

DesktopTray::~DesktopTray() = default;

void DesktopTray::connectClicks(TrayBackend& backend) {
    connect(&backend, &TrayBackend::leftClicked, this, &TrayBackend::leftClicked);
    connect(&backend, &TrayBackend::doubleClicked, this, &TrayBackend::doubleClicked);
    connect(&backend, &TrayBackend::closeRequested, this, &TrayBackend::closeRequested);
}

void DesktopTray::follow() {
    const TrayKind kind = DecideTray(m_presence->Facts(), m_chosen);
    std::unique_ptr<TrayBackend>& next = kind == TrayKind::None ? m_window : m_icon;
    if (!next) {
        // Qt's tray icon must not be made without a tray: on Wayland it then
        // asks the platform for an X11-only signal and says so on stderr.
        next = kind == TrayKind::None ? m_makeWindow() : m_makeIcon(kind);
        if (kind != TrayKind::None)
            m_chosen = kind;
        connectClicks(*next);
    }
    if (next.get() == m_current)
        return;
    qCDebug(lcPlatform, "tray: %s",
            kind == TrayKind::StatusNotifier ? "a StatusNotifierItem icon"
            : kind == TrayKind::XEmbed       ? "an XEmbed icon"
                                             : "no tray: the window stands in for the icon");
    if (m_current) {
        m_current->HideBalloon();
        m_current->SetVisible(false);
    }
    m_current = next.get();
    if (!m_image.isNull())
        m_current->SetIcon(m_image);
    m_current->SetToolTip(m_toolTip);
    m_current->SetRecording(m_recording);
    m_current->SetMenu(m_menu);
    m_current->SetVisible(m_visible);
}

void DesktopTray::SetIcon(const QIcon& icon) {
    m_image = icon;
    m_current->SetIcon(icon);
}

void DesktopTray::SetToolTip(const QString& text) {
    m_toolTip = text;
    m_current->SetToolTip(text);
}

void DesktopTray::SetRecording(bool recording) {
    m_recording = recording;
    m_current->SetRecording(recording);
}

void DesktopTray::SetVisible(bool visible) {
    m_visible = visible;
    m_current->SetVisible(visible);
}

void DesktopTray::SetMenu(QMenu* menu) {
    m_menu = menu;
    m_current->SetMenu(menu);
}

void DesktopTray::ShowBalloon(const QString& title, const QString& text, int seconds,
                              BalloonIcon icon, const QString& summary) {
    m_current->ShowBalloon(title, text, seconds, icon, summary);
}

void DesktopTray::HideBalloon() {
    m_current->HideBalloon();
}

std::unique_ptr<TrayBackend> CreateSystemTray() {
    return std::make_unique<DesktopTray>(
        std::make_unique<TrayPresence>(),
        [](TrayKind kind) { return CreateTrayIcon(kind == TrayKind::StatusNotifier); },
        [] { return std::make_unique<RecorderWindow>(); });
}
