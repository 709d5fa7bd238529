#pragma once

// Fakes of the desktop's tray and hot keys that record what the program
// asked of them and let tests click and press.

#include "HotKeyBackend.h"
#include "TrayBackend.h"

#include <QMenu>

#include <map>
#include <set>
#include <vector>

class FakeTray : public TrayBackend {
public:
    struct Balloon {
        QString title;
        QString text;
        int seconds;
        bool hide = false; // a HideBalloon call, not a balloon
        QString summary;
    };
    int iconChanges = 0;
    std::set<qint64> iconKeys; // one per distinct icon object handed over
    QString toolTip;
    bool visible = false;
    QMenu* menu = nullptr;
    std::vector<Balloon> balloons;

    void SetIcon(const QIcon& icon) override {
        ++iconChanges;
        iconKeys.insert(icon.cacheKey());
    }
    void SetToolTip(const QString& text) override { toolTip = text; }
    void SetVisible(bool on) override { visible = on; }
    void SetMenu(QMenu* m) override { menu = m; }
    void ShowBalloon(const QString& title, const QString& text, int seconds, BalloonIcon,
                     const QString& summary) override {
        balloons.push_back({title, text, seconds, false, summary});
    }
    void HideBalloon() override { balloons.push_back({QString(), QString(), 0, true, QString()}); }
    bool menuOnClick = false;
    bool MenuOnClick() const override { return menuOnClick; }
    void Click() { emit leftClicked(); }
    void DoubleClick() { emit doubleClicked(); }
};

class FakeHotKeys : public HotKeyBackend {
public:
    std::set<uint16_t> taken; // held by another program
    std::string why;          // the reason given for them
    std::map<int, uint16_t> registered;

    std::string WhyNot() const override { return why; }
    bool Register(int id, uint16_t shortcut, const std::string&) override {
        if (taken.count(shortcut))
            return false;
        registered[id] = shortcut;
        return true;
    }
    void Unregister(int id) override { registered.erase(id); }
    void Press(uint16_t shortcut) {
        for (const auto& [id, key] : registered)
            if (key == shortcut)
                Pressed(id);
    }
};
