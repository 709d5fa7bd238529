#include "Alert.h"

#include <QAccessible>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

namespace {
// AT-SPI passes Qt's alert event over: screen readers there speak an alert
// as its showing state turns on, which Qt tells for every window but a
// tool tip, and only once the accessibility bridge is up.
void tell(QWidget* part, bool shownUntold) {
    if (shownUntold) {
        QAccessibleEvent shown(part, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
    QAccessibleEvent alert(part, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// The bridge comes up after the start-up balloon: what shows before is told
// once it is there. Qt turns accessibility on just before it connects the
// bridge, hence the wait for the event loop.
class LateAlerts : public QAccessible::ActivationObserver {
public:
    LateAlerts() { QAccessible::installActivationObserver(this); }
    void accessibilityActiveChanged(bool active) override {
        if (!active)
            return;
        for (const QPointer<QWidget>& part : std::exchange(waiting, {}))
            if (part)
                QTimer::singleShot(0, part, [part] {
                    if (part->isVisible())
                        tell(part, true);
                });
    }
    std::vector<QPointer<QWidget>> waiting;
};
} // namespace

void MarkAsAlert(QWidget* part, const QString& title, const QString& text) {
    part->setProperty(kAccessibleAlert, true);
    part->setAccessibleName(title);
    part->setAccessibleDescription(text);
}

void AnnounceAlert(QWidget* part) {
    if (QAccessible::isActive()) {
        tell(part, part->windowType() == Qt::ToolTip);
        return;
    }
    static LateAlerts late;
    // Where no screen reader ever comes, only those still there wait.
    std::erase_if(late.waiting, [](const QPointer<QWidget>& p) { return p.isNull(); });
    late.waiting.emplace_back(part);
}
