#include "ImageButton.h"

#include "ConfigFace.h"

#include <QPainter>

ImageButton::ImageButton(QWidget* parent, const char* name, Look look, const QString& text)
    : QAbstractButton(parent), m_look(look) {
    setObjectName(QString::fromLatin1(name));
    setText(text);
    setToolTip(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    // The font and room its text is painted in, so that the window can size
    // it from them.
    setFont(look == Look::Help ? FaceFont(22, true) : FaceFont(12, look == Look::Apply));
    if (look == Look::Optimizer)
        setContentsMargins(kMeterLeft + 16, 0, 0, 0);
}

int ImageButton::TextWidth() const {
    return contentsMargins().left() + fontMetrics().horizontalAdvance(text()) + 8;
}

void ImageButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown();
    const bool filled = m_look == Look::Apply;

    QColor top = filled ? QColor(74, 134, 210) : QColor(255, 255, 255);
    QColor bottom = filled ? QColor(40, 92, 160) : QColor(214, 222, 234);
    if (m_hover) {
        top = top.lighter(108);
        bottom = bottom.lighter(108);
    }
    if (down)
        std::swap(top, bottom);
    QLinearGradient shade(0, 0, 0, height());
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    p.setBrush(shade);
    p.setPen(QPen(filled ? QColor(30, 70, 125) : QColor(130, 148, 172), 1));
    if (m_look == Look::Help) {
        p.drawEllipse(box);
        p.setPen(QColor(40, 92, 160));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        p.drawRoundedRect(box, 5, 5);
        if (m_look == Look::Optimizer) {
            // A small level meter: the optimizer listens to the input.
            const qreal x0 = kMeterLeft, base = height() / 2.0 + 6;
            p.setPen(Qt::NoPen);
            const QColor bars[] = {QColor(70, 170, 90), QColor(70, 170, 90), QColor(230, 180, 40),
                                   QColor(220, 80, 60)};
            for (int i = 0; i < 4; ++i) {
                p.setBrush(bars[i]);
                const qreal h = 4 + i * 2.5;
                p.fillRect(QRectF(x0 + i * 4, base - h, 3, h), bars[i]);
            }
        }
        p.setPen(filled ? QColor(255, 255, 255) : QColor(40, 60, 90));
        p.drawText(contentsRect(), Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        // A solid ring that stands out from the face beneath it: white on
        // the blue, the border's dark blue on the light ones.
        p.setPen(QPen(filled ? QColor(255, 255, 255) : QColor(30, 70, 125), 2));
        p.setBrush(Qt::NoBrush);
        if (m_look == Look::Help)
            p.drawEllipse(box.adjusted(2.5, 2.5, -2.5, -2.5));
        else
            p.drawRoundedRect(box.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    }
}
