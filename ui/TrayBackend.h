#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <memory>

class QMenu;

// The desktop's notification area, as the tray facility needs it. The real
// one is Qt's system tray icon; tests use a fake that records the calls.
class TrayBackend : public QObject {
    Q_OBJECT
public:
    enum class BalloonIcon { None, Information, Warning, Error };

    virtual void SetIcon(const QIcon& icon) = 0;
    virtual void SetToolTip(const QString& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetMenu(QMenu* menu) = 0;
    virtual void ShowBalloon(const QString& title, const QString& text, int seconds,
                             BalloonIcon icon) = 0;
    // Removes the balloon on screen, if any; never shows an empty one.
    virtual void HideBalloon() = 0;

signals:
    void leftClicked();   // each left click, as the desktop reports it
    void doubleClicked(); // only where the desktop reports double clicks itself

protected:
    using QObject::QObject;
};

std::unique_ptr<TrayBackend> CreateSystemTray();
