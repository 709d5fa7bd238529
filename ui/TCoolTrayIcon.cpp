#include "TCoolTrayIcon.h"

#include "TrayImages.h"

#include <QApplication>
#include <QMenu>

TCoolTrayIcon::TCoolTrayIcon(std::unique_ptr<TrayBackend> backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend)) {
    m_clickTimer.setSingleShot(true);
    connect(&m_clickTimer, &QTimer::timeout, this, &TCoolTrayIcon::clickTimerExpired);
    connect(m_backend.get(), &TrayBackend::leftClicked, this, &TCoolTrayIcon::LeftClicked);
    connect(m_backend.get(), &TrayBackend::doubleClicked, this, &TCoolTrayIcon::DoubleClicked);
    connect(m_backend.get(), &TrayBackend::closeRequested, this, [this] {
        if (Enabled && OnClose)
            OnClose();
    });
}

void TCoolTrayIcon::SetIconIndex(int index) {
    index = std::clamp(index, 0, kTrayImageCount - 1);
    m_acceptLevels = index < kIdleIcon;
    if (index == m_iconIndex)
        return;
    m_iconIndex = index;
    m_backend->SetIcon(TrayIconImage(index));
    m_backend->SetRecording(m_acceptLevels);
}

void TCoolTrayIcon::SetLevelIconIndex(int index) {
    if (m_acceptLevels && index >= 0 && index < kIdleIcon)
        SetIconIndex(index);
}

void TCoolTrayIcon::SetHint(const QString& hint) {
    const QString cut = hint.left(127);
    if (cut == m_hint)
        return;
    m_hint = cut;
    m_backend->SetToolTip(cut);
}

void TCoolTrayIcon::SetPopupMenu(QMenu* menu) {
    m_menu = menu;
    m_backend->SetMenu(m_autoPopup ? m_menu : nullptr);
}

void TCoolTrayIcon::SetAutoPopup(bool on) {
    m_autoPopup = on;
    m_backend->SetMenu(on ? m_menu : nullptr);
}

void TCoolTrayIcon::SetVisible(bool visible) {
    m_backend->SetVisible(visible);
}

void TCoolTrayIcon::ShowBalloon(const QString& title, const QString& text, int seconds,
                                TrayBackend::BalloonIcon icon, const QString& summary) {
    m_backend->HideBalloon();
    m_backend->ShowBalloon(title.left(63), text.left(255), seconds, icon, summary);
}

void TCoolTrayIcon::HideBalloon() {
    m_backend->HideBalloon();
}

void TCoolTrayIcon::LeftClicked() {
    if (!Enabled)
        return;
    const int interval = QApplication::doubleClickInterval();
    // Trays that report a double click themselves may send its second
    // press as a click too; it belongs to the double click.
    if (m_sinceDouble.isValid() && m_sinceDouble.elapsed() < interval)
        return;
    // A tray that opens the menu on a click reports only a double click,
    // after its menu: the user asked for the configuration, not a take.
    if (MenuOnClick()) {
        DoubleClicked();
        return;
    }
    if (m_clickTimer.isActive()) {
        // Trays that report every press as a click: two within the
        // double-click time are a double click.
        DoubleClicked();
        return;
    }
    if (!OnDblClick) {
        if (OnClick)
            OnClick();
        return;
    }
    // Held back for the double-click time, so that a double click never
    // also yields a click.
    m_clickTimer.start(interval);
}

void TCoolTrayIcon::DoubleClicked() {
    if (!Enabled)
        return;
    m_clickTimer.stop();
    m_sinceDouble.start();
    if (OnDblClick)
        OnDblClick();
}

void TCoolTrayIcon::clickTimerExpired() {
    if (OnClick)
        OnClick();
}
