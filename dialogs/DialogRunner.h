#pragma once

#include <QDialog>

#include <functional>

// Every modal window of the program (the save dialog, the optimizer) runs
// through here, so that tests can answer it without a person, as they
// answer message boxes.
class DialogRunner {
public:
    using Answer = std::function<void(QDialog&)>;

    // exec(), or the answer a test gave for this kind of dialog.
    static int Run(QDialog& dialog);

    // Tests: every later dialog of class D is handed to answer instead of
    // being shown, until Clear(). The dialog's result is what answer leaves.
    template <class D> static void SetAnswer(std::function<void(D&)> answer) {
        setAnswer(D::staticMetaObject.className(),
                  [answer = std::move(answer)](QDialog& d) { answer(static_cast<D&>(d)); });
    }
    static void Clear();

private:
    static void setAnswer(const char* className, Answer answer);
};
