#include "ImageSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kThumbWidth = 13;
constexpr int kThumbHeight = 18;
constexpr int kGrooveTop = 6; // the thumb's top; the groove runs through its middle
} // namespace

ImageSlider::ImageSlider(QWidget* parent, int minimum, int maximum)
    : QSlider(Qt::Horizontal, parent) {
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(1);
    setCursor(Qt::PointingHandCursor);
}

int ImageSlider::ThumbCentre(int value) const {
    const int span = width() - kThumbWidth;
    const int range = std::max(1, maximum() - minimum());
    return kThumbWidth / 2 +
           static_cast<int>(std::lround(double(value - minimum()) * span / range));
}

int ImageSlider::valueAt(int x) const {
    const int span = std::max(1, width() - kThumbWidth);
    const double share = double(x - kThumbWidth / 2) / span;
    const int value = minimum() + static_cast<int>(std::lround(share * (maximum() - minimum())));
    return std::clamp(value, minimum(), maximum());
}

void ImageSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal grooveY = kGrooveTop + kThumbHeight / 2.0;
    const qreal left = kThumbWidth / 2.0, right = width() - kThumbWidth / 2.0;
    const int here = ThumbCentre(value());

    // Groove: the part up to the thumb is filled.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 212, 222));
    p.drawRoundedRect(QRectF(left, grooveY - 2.5, right - left, 5), 2.5, 2.5);
    p.setBrush(QColor(90, 135, 190));
    p.drawRoundedRect(QRectF(left, grooveY - 2.5, here - left, 5), 2.5, 2.5);
    if (hasFocus()) {
        // A dark frame round it all: a groove of another blue is too faint
        // to find.
        p.setPen(QPen(QColor(30, 70, 125), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }

    // Ruler below the groove: twenty divisions, every fifth tick long.
    const qreal rulerTop = kGrooveTop + kThumbHeight + 2;
    const qreal dpr = devicePixelRatioF();
    p.setPen(QPen(QColor(150, 160, 175), 1));
    for (int tick = 0; tick <= 20; ++tick) {
        // On whole device pixels, so that the ticks stay sharp at any scale.
        const qreal x = std::round((left + (right - left) * tick / 20.0) * dpr) / dpr + 0.5;
        const qreal length = tick % 5 == 0 ? 6 : 3;
        p.drawLine(QPointF(x, rulerTop), QPointF(x, std::min<qreal>(rulerTop + length, height())));
    }

    // Thumb: a rounded tab pointing down at the ruler.
    const qreal l = here - kThumbWidth / 2.0 + 0.5, t = kGrooveTop + 0.5;
    const qreal w = kThumbWidth - 1, h = kThumbHeight - 1;
    QPainterPath thumb;
    thumb.moveTo(l + 2, t);
    thumb.lineTo(l + w - 2, t);
    thumb.quadTo(l + w, t, l + w, t + 2);
    thumb.lineTo(l + w, t + h - 5);
    thumb.lineTo(l + w / 2, t + h);
    thumb.lineTo(l, t + h - 5);
    thumb.lineTo(l, t + 2);
    thumb.quadTo(l, t, l + 2, t);
    QLinearGradient shade(0, t, 0, t + h);
    shade.setColorAt(0, QColor(255, 255, 255));
    shade.setColorAt(1, isSliderDown() ? QColor(170, 195, 230) : QColor(210, 220, 235));
    p.setBrush(shade);
    p.setPen(QPen(QColor(60, 90, 130), 1));
    p.drawPath(thumb);
    p.setPen(QPen(QColor(120, 140, 170), 1));
    for (const qreal dx : {-2.0, 0.0, 2.0})
        p.drawLine(QPointF(here + dx + 0.5, t + 4), QPointF(here + dx + 0.5, t + 9));
}

void ImageSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setSliderDown(true);
    setSliderPosition(valueAt(qRound(event->position().x())));
    update();
}

void ImageSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueAt(qRound(event->position().x())));
}

void ImageSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderDown(false);
    update();
}
