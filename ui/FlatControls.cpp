#include "FlatControls.h"

#include "ConfigFace.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kGreyText(96, 100, 108);
const QColor kFrame(150, 160, 175);
const QColor kFocus(30, 70, 125);
} // namespace

FlatComboBox::FlatComboBox(QWidget* parent, const char* name) : QComboBox(parent) {
    setObjectName(QString::fromLatin1(name));
    setEditable(false);
    setFont(FaceFont(11));
    setCursor(Qt::PointingHandCursor);
}

void FlatComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    if (hasFocus()) {
        // A frame of another colour is too faint to find: a thick dark one.
        p.setPen(QPen(kFocus, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    const qreal arrowLeft = width() - 18;
    p.setPen(QPen(kFrame, 1));
    p.drawLine(QPointF(arrowLeft + 0.5, 3), QPointF(arrowLeft + 0.5, height() - 3));
    QPainterPath chevron;
    const qreal cx = arrowLeft + 9, cy = height() / 2.0;
    chevron.moveTo(cx - 4, cy - 2);
    chevron.lineTo(cx, cy + 2);
    chevron.lineTo(cx + 4, cy - 2);
    p.setPen(QPen(kGreyText, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
    p.setPen(kGreyText);
    p.setFont(font());
    const QRect textBox(5, 0, int(arrowLeft) - 8, height());
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(currentText(), Qt::ElideRight, textBox.width()));
}

FlatCheckBox::FlatCheckBox(QWidget* parent, const char* name, const QString& text)
    : QCheckBox(text, parent) {
    setObjectName(QString::fromLatin1(name));
    setFont(FaceFont(11));
    setCursor(Qt::PointingHandCursor);
    setContentsMargins(kBoxSide + 5, 0, 0, 0); // the text's room is beside the box
}

int FlatCheckBox::TextWidth() const {
    return contentsMargins().left() + fontMetrics().horizontalAdvance(text()) + 2;
}

bool FlatCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void FlatCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = kBoxSide, top = (height() - side) / 2.0;
    const QRectF box(1.5, top + 0.5, side - 1, side - 1);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    if (hasFocus()) {
        // Round box and text alike, as a frame of another colour alone is
        // too faint to find.
        p.setPen(QPen(kFocus, 1));
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setRenderHint(QPainter::Antialiasing);
    }
    if (isChecked()) {
        QPainterPath tick;
        tick.moveTo(box.left() + 2.5, box.center().y());
        tick.lineTo(box.left() + 5, box.bottom() - 3);
        tick.lineTo(box.right() - 2.5, box.top() + 2.5);
        p.setPen(QPen(kGreyText, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    p.setPen(kGreyText);
    p.setFont(font());
    p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, text());
}
