#pragma once

#include <QColor>
#include <QWidget>

// A level bar over 0..100 that clamps what it is given; optionally shows its
// value as a number followed by " %".
class Gauge : public QWidget {
    Q_OBJECT
public:
    Gauge(QColor color, bool showText, QWidget* parent = nullptr);

    void setValue(int value);
    int value() const { return m_value; }
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    bool m_showText;
    int m_value = 0;
};
