#include "Accessible.h"

#include "Alert.h"
#include "LinkLabel.h"
#include "QualityPresets.h"
#include "TextLines.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPointer>
#include <QSlider>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {
class LinkInterface : public QAccessibleWidget {
public:
    explicit LinkInterface(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return link()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            link()->Activate();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

// Qt on Linux names a drop-down list after its current entry, so a screen
// reader would read "Unknown" for the genre; ours are named by their
// captions, the entry being their value.
class ComboInterface : public QAccessibleWidget {
public:
    explicit ComboInterface(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction())
            combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

// The window's drawn buttons carry their text as their hint too, for the
// round Help button that shows none: read once, as a name, not twice. A
// press is answered before the click, which may open a modal window.
class ImageButtonInterface : public QAccessibleWidget {
public:
    explicit ImageButtonInterface(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return button()->text();
        if (t == QAccessible::Description && widget()->toolTip() == button()->text())
            return QString();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The quality slider's value is its preset, not its position: "61" tells
// the user nothing. The number is the bit rate, the text the slider's hint.
class QualitySliderInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit QualitySliderInterface(QSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return TextLines(QString::fromStdString(QualityHint(slider()->value())));
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return bitRate(slider()->value()); }
    void setCurrentValue(const QVariant& value) override {
        // The nearest preset of that rate.
        const int wanted = value.toInt(), here = slider()->value();
        int best = here;
        for (int i = slider()->minimum(); i <= slider()->maximum(); ++i)
            if (std::pair(std::abs(bitRate(i) - wanted), std::abs(i - here)) <
                std::pair(std::abs(bitRate(best) - wanted), std::abs(best - here)))
                best = i;
        slider()->setValue(best);
    }
    QVariant maximumValue() const override { return extremeRate(true); }
    QVariant minimumValue() const override { return extremeRate(false); }
    QVariant minimumStepSize() const override { return 0; }

private:
    QSlider* slider() const { return static_cast<QSlider*>(widget()); }
    static int bitRate(int position) { return static_cast<int>(QualityPresetAt(position).bitRate); }
    int extremeRate(bool highest) const {
        int rate = bitRate(slider()->minimum());
        for (int i = slider()->minimum(); i <= slider()->maximum(); ++i)
            rate = highest ? std::max(rate, bitRate(i)) : std::min(rate, bitRate(i));
        return rate;
    }
};

// The tray menu's items end in a hint for the mouse ("&Config...  [Tray
// Double-Click]"), which Qt would read as part of the name: it is their
// description.
class HintedMenuItem : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit HintedMenuItem(QAction* action) : m_action(action) {}

    // The hint in brackets at the end of a menu text; -1 where there is none.
    static qsizetype HintStart(const QString& text) {
        const qsizetype open = text.lastIndexOf(QLatin1String(" ["));
        return open > 0 && text.endsWith(QLatin1Char(']')) ? open : -1;
    }

    bool isValid() const override { return m_action && menu(); }
    QObject* object() const override { return m_action; }
    QWindow* window() const override {
        QWidget* owner = menu();
        return owner ? owner->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(menu());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        const QString all = m_action->text();
        const qsizetype hint = HintStart(all);
        if (t == QAccessible::Name)
            return withoutMnemonic(all.left(hint).trimmed());
        if (t == QAccessible::Description && hint >= 0)
            return all.mid(hint + 2, all.size() - hint - 3);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        QMenu* owner = menu();
        return owner ? owner->actionGeometry(m_action).translated(owner->mapToGlobal(QPoint()))
                     : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        QMenu* owner = menu();
        s.invisible = !owner || !owner->isVisible() || !m_action->isVisible();
        s.focused = owner && owner->activeAction() == m_action;
        s.disabled = !m_action->isEnabled();
        s.checkable = m_action->isCheckable();
        s.checked = m_action->isChecked();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && m_action->isEnabled())
            m_action->trigger();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QMenu* menu() const {
        if (m_action)
            for (QObject* o : m_action->associatedObjects())
                if (auto* m = qobject_cast<QMenu*>(o))
                    return m;
        return nullptr;
    }
    static QString withoutMnemonic(QString text) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i] == QLatin1Char('&'))
                text.remove(i, 1); // "&&" leaves one, which the loop passes
        return text;
    }

    QPointer<QAction> m_action;
};

QAccessibleInterface* roles(const QString& className, QObject* object) {
    if (className == QLatin1String("QBalloonTip") ||
        (object->isWidgetType() && object->property(kAccessibleAlert).toBool()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    if (className == QLatin1String("QAction")) {
        auto* action = static_cast<QAction*>(object);
        if (!QMenu::menuInAction(action) && HintedMenuItem::HintStart(action->text()) >= 0)
            return new HintedMenuItem(action);
        return nullptr;
    }
    if (className == QLatin1String("ImageSlider") &&
        object->objectName() == QLatin1String("SliderQuality"))
        return new QualitySliderInterface(static_cast<QSlider*>(object));
    if (className == QLatin1String("ImageButton"))
        return new ImageButtonInterface(static_cast<QAbstractButton*>(object));
    if (className == QLatin1String("LinkLabel"))
        return new LinkInterface(static_cast<LinkLabel*>(object));
    if (className == QLatin1String("FlatComboBox") || className == QLatin1String("NamedComboBox"))
        return new ComboInterface(static_cast<QComboBox*>(object));
    if (className == QLatin1String("TFormMain"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    return nullptr;
}
} // namespace

void InstallAccessibleRoles() {
    // Qt keeps one of each.
    QAccessible::installFactory(roles);
}
