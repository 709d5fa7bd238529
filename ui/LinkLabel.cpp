#include "LinkLabel.h"

#include "ConfigFace.h"
#include "HighContrast.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

const QColor LinkLabel::kRestColour(122, 160, 199);
const QColor LinkLabel::kHoverColour(255, 128, 0);

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text)
    : QLabel(text, parent), m_highContrast(DesktopWantsHighContrast()) {
    setObjectName(QString::fromLatin1(name));
    setAutoFillBackground(m_highContrast);
    setFont(FaceFont(11)); // the window's own font
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setColour(restColour());
    adjustSize();
}

QColor LinkLabel::restColour() const {
    return m_highContrast ? QApplication::palette().color(QPalette::Link) : kRestColour;
}

QColor LinkLabel::Colour() const {
    return palette().color(QPalette::WindowText);
}

void LinkLabel::setColour(const QColor& colour) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    if (m_highContrast) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
    } else {
        setColour(kHoverColour);
    }
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    QFont plain = font();
    plain.setUnderline(false);
    setFont(plain);
    setColour(restColour());
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Activate();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space)
        Activate();
    else
        QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter p(this);
    // Solid and dark: a dotted frame in the link's own light blue is lost
    // on the white panel.
    p.setPen(QPen(m_highContrast ? palette().color(QPalette::WindowText) : QColor(30, 70, 125), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
