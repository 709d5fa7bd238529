#pragma once

#include <functional>

class ConfigWindow;
class HotKeyBackend;
class LinkLabel;
class QWidget;
class TJvApplicationHotKey;

// Where the desktop binds keys only to commands of the user's choosing
// (GNOME before 48), the program offers to add its two keys there: when
// either key does not work.
bool CommandKeysOffered(const HotKeyBackend& backend, const TJvApplicationHotKey& record,
                        const TJvApplicationHotKey& pause);
// Asks first, adds them, says what came of it, and registers both keys
// again, so that their status tells the outcome.
void OfferCommandKeys(QWidget* owner, HotKeyBackend& backend, TJvApplicationHotKey& record,
                      TJvApplicationHotKey& pause);
// The configuration window's link to the offer: shown while it is offered;
// changed runs after an offer was taken.
void ConnectCommandKeysOffer(ConfigWindow& window, LinkLabel& link, HotKeyBackend& backend,
                             TJvApplicationHotKey& record, TJvApplicationHotKey& pause,
                             std::function<void()> changed);
