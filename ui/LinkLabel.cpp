#include "LinkLabel.h"

#include "ConfigFace.h"

#include <QMouseEvent>

const QColor LinkLabel::kRestColour(122, 160, 199);
const QColor LinkLabel::kHoverColour(255, 128, 0);

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text)
    : QLabel(text, parent) {
    setObjectName(QString::fromLatin1(name));
    setAutoFillBackground(false);
    setFont(FaceFont(11)); // the window's own font
    setCursor(Qt::PointingHandCursor);
    setColour(kRestColour);
    adjustSize();
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
    setColour(kHoverColour);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    setColour(kRestColour);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
