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

    // OK only for errors and information; Yes and No for questions, with No
    // the default, since each question may destroy something. The box
    // is modal to, and stacked above, its owner: the one given, else the
    // open modal dialog, else the main window.
    static Answer Show(Icon icon, const QString& caption, const QString& text,
                       QWidget* owner = nullptr);
    static void Error(const QString& text, const QString& caption = QStringLiteral("Tapewren"),
                      QWidget* owner = nullptr);
    // A failure that ends the program: logged as well (tapewren.ui), for
    // whoever started it from a terminal, a script or a session log.
    static void Fatal(const QString& text, const QString& caption = QStringLiteral("Tapewren"));
    static bool Confirm(const QString& text, const QString& caption = QStringLiteral("Tapewren"),
                        QWidget* owner = nullptr);

    // The hidden main window owns the boxes no dialog owns.
    static void SetOwner(QWidget* owner);

    // The program is ending without asking: open boxes close as if answered
    // No (errors as if read), and later ones are only logged (tapewren.ui).
    static void DismissAll();
    static bool AnyOpen();

    // Test mode: nothing is shown; questions take the queued answers (No
    // when none is queued) and every box is recorded.
    static void SetTestMode(bool on);
    static void SetNextAnswer(Answer answer);
    static std::vector<Shown> TakeShown();
};
