#include "MessageBox.h"

#include "Logging.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace {
struct State {
    QPointer<QWidget> owner;
    std::vector<QPointer<QMessageBox>> open;
    bool dismissed = false;
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
    const Answer unanswered = icon == Icon::Question ? Answer::No : Answer::Ok;
    if (s.dismissed) {
        qCWarning(lcUi, "%s", qPrintable(text));
        return unanswered;
    }
    if (s.testMode) {
        s.shown.push_back({icon, caption, text});
        Answer answer = unanswered;
        if (!s.answers.empty()) {
            answer = s.answers.front();
            s.answers.pop_front();
        }
        return answer;
    }
    if (!owner)
        owner = QApplication::activeModalWidget();
    if (!owner)
        owner = s.owner.data();
    QMessageBox box(owner ? owner->window() : nullptr);
    // A box owned by a stay-on-top dialog must be on top as well, or some
    // window managers stack it under its owner, hidden but with the focus.
    if (owner && owner->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
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
        // Every question here can destroy something (a take, a file): Enter
        // pressed without reading keeps it.
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    s.open.emplace_back(&box);
    const int result = box.exec();
    std::erase_if(s.open, [&box](const QPointer<QMessageBox>& b) { return !b || b == &box; });
    if (s.dismissed)
        return unanswered;
    if (icon != Icon::Question)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void MessageBox::Error(const QString& text, const QString& caption, QWidget* owner) {
    Show(Icon::Error, caption, text, owner);
}

void MessageBox::Fatal(const QString& text, const QString& caption) {
    if (!state().dismissed && !state().testMode) // dismissed: Show writes it there itself
        qCCritical(lcUi, "%s", qPrintable(text));
    Show(Icon::Error, caption, text);
}

bool MessageBox::Confirm(const QString& text, const QString& caption, QWidget* owner) {
    return Show(Icon::Question, caption, text, owner) == Answer::Yes;
}

void MessageBox::DismissAll() {
    State& s = state();
    s.dismissed = true;
    for (const QPointer<QMessageBox>& box : s.open)
        if (box)
            box->done(QMessageBox::No);
}

bool MessageBox::AnyOpen() {
    return std::any_of(state().open.begin(), state().open.end(),
                       [](const QPointer<QMessageBox>& box) { return !box.isNull(); });
}

void MessageBox::SetOwner(QWidget* owner) {
    state().owner = owner;
}

void MessageBox::SetTestMode(bool on) {
    state().testMode = on;
    state().dismissed = false;
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
