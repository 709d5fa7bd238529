#include "Accessible.h"

#include "LinkLabel.h"

#include <QComboBox>

#include <QAbstractButton>
#include <QAccessibleWidget>

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

QAccessibleInterface* roles(const QString& className, QObject* object) {
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
