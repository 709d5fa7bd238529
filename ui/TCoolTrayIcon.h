#pragma once

#include "TrayBackend.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QMenu;

// The program's icon in the notification area: single and double clicks
// told apart, a menu, a hint, balloons and the images of ImagesIcon.
class TCoolTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TCoolTrayIcon(std::unique_ptr<TrayBackend> backend, QObject* parent = nullptr);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    // The window that stands in for the icon on a desktop without a tray was
    // closed.
    std::function<void()> OnClose;

    void SetIconIndex(int index);
    int IconIndex() const { return m_iconIndex; }
    bool MenuOnClick() const { return m_backend->MenuOnClick(); }
    // Applied only while the icon shows the level meter, and only when it
    // changes: each change is a message to the tray.
    void SetLevelIconIndex(int index);

    // The shell takes at most 127 characters.
    void SetHint(const QString& hint);

    void SetPopupMenu(QMenu* menu);
    // Without it a right click shows nothing.
    void SetAutoPopup(bool on);
    // When false the icon ignores the mouse.
    bool Enabled = true;

    void SetVisible(bool visible);
    void ShowBalloon(const QString& title, const QString& text, int seconds,
                     TrayBackend::BalloonIcon icon, const QString& summary = {});
    void HideBalloon();

    // The click and double-click decisions, as the backend reports clicks.
    void LeftClicked();
    void DoubleClicked();
    // A click held back, waiting to see whether a second one follows.
    bool ClickPending() const { return m_clickTimer.isActive(); }

private:
    void clickTimerExpired();

    std::unique_ptr<TrayBackend> m_backend;
    QMenu* m_menu = nullptr;
    bool m_autoPopup = true;
    int m_iconIndex = -1;
    QString m_hint;
    QTimer m_clickTimer;
    QElapsedTimer m_sinceDouble;
    bool m_acceptLevels = false;
};
