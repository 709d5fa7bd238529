#include "MessageBox.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {
struct State {
    QPointer<QWidget> owner;
    bool testMode = false;
    std::deque<MessageBox::Answer> answers;
    std::vector<MessageBox::Shown> shown;
};

State& state() {
    static State s;
    return s;
}
} // namespace

MessageBox::Answer MessageBox::Show(Icon icon, const QString& caption, const QString& text,
                                    QWidget* owner) {
    State& s = state();
    if (s.testMode) {
        s.shown.push_back({icon, caption, text});
        Answer answer = icon == Icon::Question ? Answer::No : Answer::Ok;
        if (!s.answers.empty()) {
            answer = s.answers.front();
            s.answers.pop_front();
        }
        return answer;
    }
    QMessageBox box(owner ? owner : s.owner.data());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    const int result = box.exec();
    if (icon != Icon::Question)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void MessageBox::Error(const QString& text, const QString& caption, QWidget* owner) {
    Show(Icon::Error, caption, text, owner);
}

bool MessageBox::Confirm(const QString& text, const QString& caption, QWidget* owner) {
    return Show(Icon::Question, caption, text, owner) == Answer::Yes;
}

void MessageBox::SetOwner(QWidget* owner) {
    state().owner = owner;
}

void MessageBox::SetTestMode(bool on) {
    state().testMode = on;
    state().answers.clear();
    state().shown.clear();
}

void MessageBox::SetNextAnswer(Answer answer) {
    state().answers.push_back(answer);
}

std::vector<MessageBox::Shown> MessageBox::TakeShown() {
    std::vector<Shown> shown;
    shown.swap(state().shown);
    return shown;
}
