#include "InputChoice.h"

#include <QCoreApplication>

#include "Bass.h"
#include "CaptureMixer.h"

#include <QComboBox>

void InputChoice::Fill() {
    m_box.clear();
    for (int i = 0;; ++i) {
        const char* name = BASS_RecordGetInputName(i);
        if (!name)
            break;
        // The list shows the name in the user's language; the name itself
        // stays with the item, for the settings and across languages.
        m_box.addItem(Shown(QString::fromUtf8(name)), QString::fromUtf8(name));
    }
    m_box.setCurrentIndex(-1);
}

bool InputChoice::Choose(const QString& name) {
    m_chosen = name;
    const int at = m_box.findData(name, Qt::UserRole, Qt::MatchExactly);
    if (at >= 0)
        m_box.setCurrentIndex(at);
    return at >= 0;
}

void InputChoice::ChooseSelected() {
    m_chosen = SelectedName();
}

QString InputChoice::SelectedName() const {
    return m_box.currentData().toString();
}

QString InputChoice::Refresh() {
    const QString selected = SelectedName();
    Fill();
    for (const QString& name : {m_chosen, selected}) {
        const int at = name.isEmpty() ? -1 : m_box.findData(name, Qt::UserRole, Qt::MatchExactly);
        if (at >= 0) {
            m_box.setCurrentIndex(at);
            return QString();
        }
    }
    return selected;
}

int InputChoice::DefaultIndex() {
    for (int i = 0;; ++i) {
        const DWORD info = BASS_RecordGetInput(i);
        if (info == static_cast<DWORD>(-1))
            break;
        if ((info >> 24) == kInputWaveOutput)
            return i;
    }
    for (int i = 0;; ++i) {
        const DWORD info = BASS_RecordGetInput(i);
        if (info == static_cast<DWORD>(-1))
            break;
        const char* name = BASS_RecordGetInputName(i);
        const QString lower = QString::fromUtf8(name ? name : "").toLower();
        if ((info >> 24) == kInputAnalog &&
            (lower.contains(QLatin1String("wave")) || lower.contains(QLatin1String("wav")) ||
             lower.contains(QLatin1String("stereo")) || lower.contains(QLatin1String("mix"))))
            return i;
    }
    return -1;
}

QString InputChoice::Shown(const QString& name) {
    // Only the entry the program adds is ours to translate; the sound
    // server's names come in the desktop's language already, and one that
    // happened to read like a text of ours must stay as it is.
    if (name != QLatin1String(CaptureMixer::kInputName))
        return name;
    return QCoreApplication::translate("InputChoice", CaptureMixer::kInputName);
}

QString InputChoice::GoneText(const QString& gone, const QString& instead) {
    if (instead.isEmpty())
        return QCoreApplication::translate("InputChoice", "\"%1\" is no longer available.")
            .arg(Shown(gone));
    return QCoreApplication::translate("InputChoice",
                                       "\"%1\" is no longer available.\rRecording from \"%2\" now.")
        .arg(Shown(gone), Shown(instead));
}
