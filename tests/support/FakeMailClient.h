#pragma once

#include "MailClient.h"

#include <QApplication>
#include <QWidget>

#include <functional>
#include <stdexcept>
#include <vector>

// A mail client that records what it was handed and whether any window of
// the program could be used meanwhile.
class FakeMailClient : public MailClient {
public:
    bool reachable = true;
    bool throws = false;
    std::vector<TEmail> mails;
    bool windowsEnabledMeanwhile = false;

    bool Compose(const TEmail& mail) override {
        mails.push_back(mail);
        for (QWidget* window : QApplication::topLevelWidgets())
            windowsEnabledMeanwhile = windowsEnabledMeanwhile || window->isEnabled();
        if (throws)
            throw std::runtime_error("mail client gone");
        return reachable;
    }
};
