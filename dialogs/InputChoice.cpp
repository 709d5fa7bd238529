#include "InputChoice.h"

#include <QCoreApplication>

#include "Bass.h"

#include <QComboBox>

void InputChoice::Fill() {
    m_box.clear();
    for (int i = 0;; ++i) {
        const char* name = BASS_RecordGetInputName(i);
        if (!name)
            break;
        m_box.addItem(QString::fromUtf8(name));
    }
    m_box.setCurrentIndex(-1);
}

bool InputChoice::Choose(const QString& name) {
    m_chosen = name;
    const int at = m_box.findText(name, Qt::MatchExactly);
    if (at >= 0)
        m_box.setCurrentIndex(at);
    return at >= 0;
}

void InputChoice::ChooseSelected() {
    m_chosen = m_box.currentText();
}

QString InputChoice::Refresh() {
    const QString selected = m_box.currentIndex() >= 0 ? m_box.currentText() : QString();
    Fill();
    for (const QString& name : {m_chosen, selected}) {
        const int at = name.isEmpty() ? -1 : m_box.findText(name, Qt::MatchExactly);
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

QString InputChoice::GoneText(const QString& gone, const QString& instead) {
    QString text =
        QCoreApplication::translate("InputChoice", "\"%1\" is no longer available.").arg(gone);
    if (!instead.isEmpty())
        text +=
            QCoreApplication::translate("InputChoice", "\rRecording from \"%1\" now.").arg(instead);
    return text;
}
