#include "LinkLabel.h"

#include "ConfigFace.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

const QColor LinkLabel::kRestColour(122, 160, 199);
const QColor LinkLabel::kHoverColour(255, 128, 0);

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text)
    : QLabel(text, parent) {
    setObjectName(QString::fromLatin1(name));
    setAutoFillBackground(false);
    setFont(FaceFont(11)); // the window's own font
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
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
    p.setPen(QPen(kRestColour, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
