// Save as and the configuration window on a real display, in English and in
// German: no control covers another and each shows its text whole. ctest
// runs it on the test desktop's X display, wayland_test.sh under Wayland,
// whose desktop fonts differ (GNOME's interface font reaches Qt there).
#include "ConfigWindow.h"
#include "Languages.h"
#include "LinkLabel.h"
#include "TFormSave.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTranslator>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
bool isControl(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QAbstractSlider*>(w);
}

QString name(const QWidget* w) {
    const auto* combo = qobject_cast<const QComboBox*>(w);
    const QString text = combo ? combo->currentText() : w->property("text").toString();
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

// A language, and a font size in points; 0 keeps the desktop's font.
class Layout : public ::testing::TestWithParam<std::pair<const char*, int>> {
protected:
    void SetUp() override {
        LoadTranslations(*qApp, {QString::fromLatin1(GetParam().first)});
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

// 11 points: GNOME's interface font as it reaches Qt on Wayland, a size
// larger than the 10 points X11 programs get there.
INSTANTIATE_TEST_SUITE_P(Languages, Layout,
                         ::testing::Values(std::pair("en-US", 0), std::pair("de-DE", 0),
                                           std::pair("en-US", 11), std::pair("de-DE", 11)));
