#pragma once

#include <QColor>
#include <QProgressBar>

// A level bar over 0..100 that clamps what it is given; optionally shows its
// value as a number followed by " %". A progress bar, drawn its own way, so
// that a screen reader reads its value.
class Gauge : public QProgressBar {
    Q_OBJECT
public:
    Gauge(QColor color, bool showText, QWidget* parent = nullptr);

    void setValue(int value);
    QString text() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    bool m_showText;
};
