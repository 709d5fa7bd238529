#include "Gauge.h"

#include "Common.h"

#include <QPainter>

#include <algorithm>

Gauge::Gauge(QColor color, bool showText, QWidget* parent)
    : QProgressBar(parent), m_color(color), m_showText(showText) {
    setRange(0, 100);
    QProgressBar::setValue(0);
}

void Gauge::setValue(int value) {
    QProgressBar::setValue(std::clamp(value, 0, 100));
}

QString Gauge::text() const {
    return m_showText ? PercentText(value()) : QString();
}

void Gauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(frame);

    const QRectF inner = QRectF(rect()).adjusted(2, 2, -2, -2);
    QRectF filled = inner;
    filled.setWidth(inner.width() * value() / 100.0);
    QLinearGradient shade(filled.topLeft(), filled.bottomLeft());
    shade.setColorAt(0, m_color.lighter(135));
    shade.setColorAt(1, m_color.darker(115));
    painter.fillRect(filled, shade);

    if (m_showText) {
        // Readable over the filled and the empty part alike.
        painter.setPen(Qt::black);
        painter.drawText(inner, Qt::AlignCenter, text());
        painter.setClipRect(filled);
        painter.setPen(Qt::white);
        painter.drawText(inner, Qt::AlignCenter, text());
    }
}
