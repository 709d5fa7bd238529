#include "CommandKeysOffer.h"

#include "ConfigWindow.h"
#include "HotKeyBackend.h"
#include "LinkLabel.h"
#include "MessageBox.h"
#include "TJvApplicationHotKey.h"

#include <QCoreApplication>

bool CommandKeysOffered(const HotKeyBackend& backend, const TJvApplicationHotKey& record,
                        const TJvApplicationHotKey& pause) {
    using Key = TJvApplicationHotKey::State;
    return backend.OffersCommandKeys() &&
           (record.Status() == Key::Failed || pause.Status() == Key::Failed);
}

void OfferCommandKeys(QWidget* owner, HotKeyBackend& backend, TJvApplicationHotKey& record,
                      TJvApplicationHotKey& pause) {
    if (!MessageBox::Confirm(
            QCoreApplication::translate(
                "CommandKeysOffer",
                "Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME's keyboard shortcuts? They "
                "then work from every window, and GNOME's Settings (Keyboard, Custom Shortcuts) "
                "can change or remove them.")
                .arg(record.Text(), pause.Text()),
            QStringLiteral("Tapewren"), owner))
        return;
    const std::string problems =
        backend.AddCommandKeys({{record.HotKey(), record.Name}, {pause.HotKey(), pause.Name}});
    for (TJvApplicationHotKey* key : {&record, &pause}) {
        key->SetActive(false);
        key->SetActive(true);
    }
    if (problems.empty())
        MessageBox::Show(MessageBox::Icon::Information, QStringLiteral("Tapewren"),
                         QCoreApplication::translate(
                             "CommandKeysOffer", "The hotkeys are now GNOME keyboard shortcuts."),
                         owner);
    else
        MessageBox::Error(QString::fromStdString(problems), QStringLiteral("Tapewren"), owner);
}

void ConnectCommandKeysOffer(ConfigWindow& window, LinkLabel& link, HotKeyBackend& backend,
                             TJvApplicationHotKey& record, TJvApplicationHotKey& pause,
                             std::function<void()> changed) {
    const auto update = [&link, &backend, &record, &pause] {
        link.setVisible(CommandKeysOffered(backend, record, pause));
    };
    QObject::connect(&window, &ConfigWindow::Shown, &link, update);
    // Queued: the question is modal, and a screen reader that pressed the
    // link waits for its answer until the question is closed.
    QObject::connect(
        &link, &LinkLabel::clicked, &link,
        [&window, &backend, &record, &pause, changed = std::move(changed), update] {
            OfferCommandKeys(&window, backend, record, pause);
            changed();
            update();
        },
        Qt::QueuedConnection);
}
