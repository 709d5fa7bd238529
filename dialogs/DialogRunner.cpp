#include "DialogRunner.h"

#include <QByteArray>

#include <map>

namespace {
std::map<QByteArray, DialogRunner::Answer>& answers() {
    static std::map<QByteArray, DialogRunner::Answer> byClass;
    return byClass;
}
} // namespace

int DialogRunner::Run(QDialog& dialog) {
    const auto found = answers().find(dialog.metaObject()->className());
    if (found == answers().end())
        return dialog.exec();
    // A copy: the answer may set the next one.
    const Answer answer = found->second;
    answer(dialog);
    return dialog.result();
}

void DialogRunner::Clear() {
    answers().clear();
}

void DialogRunner::setAnswer(const char* className, Answer answer) {
    answers()[className] = std::move(answer);
}
