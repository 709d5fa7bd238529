// Every window on a real display, in English and in each language shipped:
// no control covers another and each shows its text whole. ctest runs it on
// the test desktop's X display, also at twice the scale, wayland_test.sh
// under Wayland, whose desktop fonts differ (GNOME's interface font reaches
// Qt there). Where TAPEWREN_SHOTS names a folder, the windows go there as
// pictures.
#include "ConfigWindow.h"
#include "Languages.h"
#include "LinkLabel.h"
#include "MSNPopUp.h"
#include "Popups.h"
#include "ProgramPopup.h"
#include "RecorderWindow.h"
#include "StartupBalloon.h"
#include "TFormSave.h"
#include "TFormWizard.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextDocument>
#include <QTranslator>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {
// A label without text is a picture, which texts may stand on.
bool isControl(const QWidget* w) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || (label && !label->text().isEmpty()) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QGroupBox*>(w);
}

QString name(const QWidget* w) {
    const auto* combo = qobject_cast<const QComboBox*>(w);
    const auto* group = qobject_cast<const QGroupBox*>(w);
    const QString text = combo   ? combo->currentText()
                         : group ? group->title()
                                 : w->property("text").toString();
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), text);
}

// How wide the text is that the control shows, and the room it has for it;
// a room of -1 where the control shows no text of its own.
std::pair<int, int> textAndRoom(const QWidget* w) {
    const QFontMetrics metrics = w->fontMetrics();
    const auto widest = [&](QString text) {
        text.remove(QRegularExpression(QStringLiteral("&(?=[^&])"))).replace("&&", "&");
        int width = 0;
        for (const QString& line : text.split(QChar('\n')))
            width = std::max(width, metrics.horizontalAdvance(line));
        return width;
    };
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap())
            return {0, -1};
        return {widest(label->text()), label->contentsRect().width() - 2 * label->margin()};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        return {widest(group->title()), group->contentsRect().width()};
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        // The round Help button shows a "?"; its text is for screen readers.
        if (button->text().isEmpty() || button->objectName() == "ImageHelp")
            return {0, -1};
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return {widest(button->text()) + icon, button->contentsRect().width()};
    }
    const auto* combo = qobject_cast<const QComboBox*>(w);
    // The folder's path, and a sound server's input names of any length, are
    // shortened on purpose, their lists show them whole.
    if (!combo || combo->objectName() == "lookInCombo" || combo->objectName() == "ComboChannels")
        return {0, -1};
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    return {widest(combo->currentText()), field.width()};
}

// What covers what, and what is cut, among the window's shown controls.
std::vector<std::string> faults(QWidget* window) {
    std::vector<std::string> found;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.removeIf([](QWidget* w) { return !w->isVisible() || !isControl(w); });
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* a = controls[i];
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            QWidget* b = controls[j];
            if (a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                found.push_back((name(a) + " covers " + name(b)).toStdString());
        }
        if (const auto [text, room] = textAndRoom(a); text > room && room >= 0)
            found.push_back(QStringLiteral("%1: %2 px of text in %3 px")
                                .arg(name(a))
                                .arg(text)
                                .arg(room)
                                .toStdString());
        // Lines that run out below, or a word too long for any line.
        const auto* label = qobject_cast<const QLabel*>(a);
        if (label && label->wordWrap()) {
            const int width = label->contentsRect().width();
            const int lines = label->heightForWidth(label->width());
            if (lines > label->height())
                found.push_back(QStringLiteral("%1: %2 px of lines in %3 px")
                                    .arg(name(a))
                                    .arg(lines)
                                    .arg(label->height())
                                    .toStdString());
            QTextDocument shown;
            shown.setHtml(label->text());
            const QString plain =
                Qt::mightBeRichText(label->text()) ? shown.toPlainText() : label->text();
            for (const QString& word : plain.split(QRegularExpression("\\s+")))
                if (label->fontMetrics().horizontalAdvance(word) > width)
                    found.push_back(QStringLiteral("%1: \"%2\" wider than %3 px")
                                        .arg(name(a), word)
                                        .arg(width)
                                        .toStdString());
        }
        // A caption keeps half its font's height clear before its field.
        const QWidget* field = label ? label->buddy() : nullptr;
        if (field && field->isVisible() && field->parentWidget() == a->parentWidget() &&
            field->x() > a->x() && field->y() < a->geometry().bottom() &&
            a->y() < field->geometry().bottom()) {
            const int end = label->alignment() & Qt::AlignRight
                                ? a->x() + label->contentsRect().right()
                                : a->x() + label->contentsRect().left() + textAndRoom(a).first;
            if (field->x() - end < label->fontMetrics().height() / 2)
                found.push_back(QStringLiteral("%1 touches its field, %2 px apart")
                                    .arg(name(a))
                                    .arg(field->x() - end)
                                    .toStdString());
        }
        if (!a->parentWidget()->rect().contains(a->geometry()))
            found.push_back((name(a) + " sticks out of its parent").toStdString());
    }
    return found;
}

// Shown, its layout settled and the display's answer in.
bool shown(QWidget& window) {
    window.show();
    QElapsedTimer timer;
    timer.start();
    while (!window.windowHandle()->isExposed() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    return window.windowHandle()->isExposed();
}

// English, and every catalogue in the source tree: a new one is checked
// with no word here.
std::vector<std::string> languages() {
    std::vector<std::string> found{"en-US"};
    for (const auto& entry :
         std::filesystem::directory_iterator(TAPEWREN_SOURCE_DIR "/translations")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("tapewren_") && name.ends_with(".ts"))
            found.push_back(name.substr(9, name.size() - 12));
    }
    std::sort(found.begin() + 1, found.end());
    return found;
}

// Each language in the desktop's font, and English and German in the
// larger one that GNOME's Wayland session hands Qt.
std::vector<std::pair<std::string, int>> cases() {
    std::vector<std::pair<std::string, int>> all;
    for (const std::string& language : languages())
        all.emplace_back(language, 0);
    all.emplace_back("en-US", 11);
    all.emplace_back("de", 11);
    return all;
}

// A window as the user sees it, for the eye.
void picture(QWidget& window, const std::string& name) {
    const char* folder = std::getenv("TAPEWREN_SHOTS");
    if (!folder)
        return;
    const std::string scale = qApp->devicePixelRatio() > 1.5 ? "-200" : "";
    window.grab().save(QString::fromStdString(std::string(folder) + "/" + name + scale + ".png"));
}

// A language, and a font size in points; 0 keeps the desktop's font.
class Layout : public ::testing::TestWithParam<std::pair<std::string, int>> {
protected:
    void SetUp() override {
        const QString language = QString::fromStdString(GetParam().first);
        LoadTranslations(*qApp, {language});
        ASSERT_TRUE(language.startsWith("en") ||
                    !qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).isEmpty())
            << "no catalogue built for " << GetParam().first;
        if (GetParam().second) {
            QFont font = m_desktopFont;
            font.setPointSize(GetParam().second);
            QApplication::setFont(font);
        }
    }
    void TearDown() override {
        qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
        QApplication::setFont(m_desktopFont);
    }
    const QFont m_desktopFont = QApplication::font();
};
} // namespace

TEST_P(Layout, SaveAsAndItsMailVariantShowEveryControlWhole) {
    for (const bool email : {false, true}) {
        TFormSave::Context context;
        context.emailAfterRecording = email;
        TFormSave dialog(context);
        ASSERT_TRUE(shown(dialog))
            << "Save as never appeared on " << qPrintable(qApp->platformName());
        picture(dialog, std::string("save-") + (email ? "mail-" : "tag-") + GetParam().first + "-" +
                            std::to_string(GetParam().second));
        EXPECT_EQ(faults(&dialog), std::vector<std::string>())
            << (email ? "mail variant" : "tag variant") << " on "
            << qPrintable(qApp->platformName()) << " in " << qPrintable(dialog.font().toString());
    }
}

TEST_P(Layout, TheConfigurationWindowShowsEveryControlWhole) {
    ConfigWindow window;
    window.LabelCommandKeys->show(); // offered on GNOME without a shortcut portal
    ASSERT_TRUE(shown(window)) << "the configuration window never appeared";
    EXPECT_EQ(faults(&window), std::vector<std::string>())
        << "on " << qPrintable(qApp->platformName());
}

TEST_P(Layout, EachPageOfTheSoundOptimizerShowsEveryControlWhole) {
    TFormWizard wizard;
    ASSERT_TRUE(shown(wizard)) << "the optimizer never appeared";
    // Each page with the buttons it shows; no search is started.
    using Shown = std::vector<QWidget*>;
    const std::vector<Shown> buttons{Shown{wizard.CheckW1}, Shown{wizard.BtnNext},
                                     Shown{wizard.BtnBack, wizard.BtnFinish}};
    const Shown all{wizard.CheckW1, wizard.BtnBack, wizard.BtnNext, wizard.BtnFinish};
    for (int page = 0; page < 3; ++page) {
        wizard.Wizard->setCurrentIndex(page);
        for (QWidget* button : all)
            button->setVisible(std::ranges::count(buttons[page], button) > 0);
        QApplication::processEvents();
        EXPECT_EQ(faults(&wizard), std::vector<std::string>())
            << "page " << page << " on " << qPrintable(qApp->platformName());
        if (!GetParam().second)
            picture(wizard, "optimizer-page" + std::to_string(page + 1) + "-" + GetParam().first);
    }
}

// The popup, and the window that stands in for the tray icon with its own
// balloon: their longest texts.
TEST_P(Layout, ThePopupAndTheNoTrayWindowsBalloonShowTheirTextsWhole) {
    QWidget owner;
    TMSNPopUp* popup = CreateProgramPopup(&owner);
    PresentProgramPopup(
        *popup, QCoreApplication::translate("TFormMain", "File's been saved.\rClick to play now."),
        QStringLiteral("/tmp/take.mp3"));
    for (TfrmMSNPopUp* shownPopup : VisiblePopups()) // none where a server shows it
        EXPECT_EQ(faults(shownPopup), std::vector<std::string>()) << "the popup";

    RecorderWindow window{QDBusConnection(QStringLiteral("no bus"))};
    window.SetVisible(true);
    ASSERT_TRUE(shown(*window.Window())) << "the no-tray window never appeared";
    const auto failed = [](const char* text) {
        return QCoreApplication::translate("TFormMain", text).arg(QStringLiteral("Ctrl+Alt+O"));
    };
    window.ShowBalloon(QStringLiteral("Tapewren"),
                       StartupBalloonText(failed("Failed to set hotkey for [Record/Stop]. (%1)") +
                                          "\r\n" +
                                          failed("Failed to set hotkey for [Pause/Resume] (%1)")),
                       10, TrayBackend::BalloonIcon::Information, {});
    QApplication::processEvents();
    picture(*window.Window(),
            "notray-balloon-" + GetParam().first + "-" + std::to_string(GetParam().second));
    // The face, on which the balloon is; the menu button lies over it.
    EXPECT_EQ(faults(window.Window()->findChild<QWidget*>("Face")), std::vector<std::string>())
        << "the no-tray window";
}

// 11 points: GNOME's interface font as it reaches Qt on Wayland, a size
// larger than the 10 points X11 programs get there.
INSTANTIATE_TEST_SUITE_P(Languages, Layout, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string name = info.param.first + "_" + std::to_string(info.param.second);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});
