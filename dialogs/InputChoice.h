#pragma once

#include "Bass.h"

#include <QMetaObject>
#include <QString>

class QComboBox;

// The input the user chose, kept by its name (the item's data; the box shows
// it in the user's language) in a list box of the inputs that the capture
// functions list, while the sound server's inputs come and
// go: a microphone plugged out and in again, an output added or removed, the
// server restarted. Item i of the box is input i, as the recorder and the
// optimizer pass it on; only the name tells one input from another across
// such changes.
class InputChoice {
public:
    explicit InputChoice(QComboBox& box) : m_box(box) {}

    // Fills the box with the inputs as they are listed now; selects none.
    void Fill();
    // The user's choice is the input with this name, which is selected when
    // it is there. False when it is not: the choice is kept for its return.
    bool Choose(const QString& name);
    // The box's selection becomes the user's choice (a pick, a default).
    void ChooseSelected();
    // The name the user chose, also while that input is gone.
    const QString& Chosen() const { return m_chosen; }
    // The name of the input selected in the box; "" when none is.
    QString SelectedName() const;

    // Fills the box afresh and selects the chosen input wherever it now
    // stands; while it is gone, the input selected instead stays selected.
    // Returns the name of the selected input if it is gone, otherwise "".
    QString Refresh();

    // The input a recorder starts from when no choice applies: the first
    // wave output (what the computer plays), else the first analog input
    // named like a mix of it; -1 when there is neither.
    static int DefaultIndex();
    // An input's name as the user reads it: the entries the program adds
    // itself are translated.
    static QString Shown(const QString& name);
    // What the user is told when the input recorded from is gone; instead
    // is the input now selected, if any.
    static QString GoneText(const QString& gone, const QString& instead);

private:
    QComboBox& m_box;
    QString m_chosen;
};

// Has window->RefreshInputs() run on the window's thread whenever inputs
// come or go; a window that is gone by then is not called.
template <typename Window> void FollowInputChanges(Window* window) {
    BASS_RecordSetServerProc(
        [](void* self) {
            auto* target = static_cast<Window*>(self);
            QMetaObject::invokeMethod(
                target, [target] { target->RefreshInputs(); }, Qt::QueuedConnection);
        },
        window);
}
