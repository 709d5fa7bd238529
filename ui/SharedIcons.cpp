#include "SharedIcons.h"

#include <QApplication>
#include <QHash>
#include <QProxyStyle>

namespace {
class SharedIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap kind, const QStyleOption* option,
                       const QWidget* widget) const override {
        // An option can ask for a variant (a state, a direction): not shared.
        if (option)
            return QProxyStyle::standardIcon(kind, option, widget);
        auto found = m_icons.constFind(kind);
        if (found == m_icons.constEnd())
            found = m_icons.insert(kind, QProxyStyle::standardIcon(kind, nullptr, widget));
        return *found;
    }

private:
    mutable QHash<int, QIcon> m_icons;
};
} // namespace

void ShareStandardIcons() {
    if (!dynamic_cast<SharedIconStyle*>(QApplication::style()))
        QApplication::setStyle(new SharedIconStyle(QApplication::style()->name()));
}
