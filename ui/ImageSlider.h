#pragma once

#include <QSlider>

// A horizontal slider drawn in code: a groove, a ruler of ticks below it and
// a thumb of its own. A press anywhere on it takes the thumb to the pointer,
// and dragging moves it, so the position under the pointer is the value.
class ImageSlider : public QSlider {
    Q_OBJECT
public:
    ImageSlider(QWidget* parent, int minimum, int maximum);

    // The horizontal centre of the thumb for a value, in widget pixels.
    int ThumbCentre(int value) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int valueAt(int x) const;
};
