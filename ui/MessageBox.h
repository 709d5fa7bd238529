#pragma once

#include <QString>

#include <deque>
#include <vector>

class QWidget;

// Every message box of the program goes through here, so that tests can
// answer them without a person and see what was asked.
class MessageBox {
public:
    enum class Icon { Error, Question, Information };
    enum class Answer { Ok, Yes, No };
    struct Shown {
        Icon icon;
        QString caption;
        QString text;
    };

    // OK only for errors and information; Yes and No for questions.
    // owner: the window the box belongs to, on top of which it opens; the
    // owner set below when none is given.
    static Answer Show(Icon icon, const QString& caption, const QString& text,
                       QWidget* owner = nullptr);
    static void Error(const QString& text, const QString& caption = QStringLiteral("Tapewren"),
                      QWidget* owner = nullptr);
    static bool Confirm(const QString& text, const QString& caption = QStringLiteral("Tapewren"),
                        QWidget* owner = nullptr);

    // The hidden main window owns the boxes that name no owner.
    static void SetOwner(QWidget* owner);

    // Test mode: nothing is shown; questions take the queued answers (No
    // when none is queued) and every box is recorded.
    static void SetTestMode(bool on);
    static void SetNextAnswer(Answer answer);
    static std::vector<Shown> TakeShown();
};
