#pragma once

#include <QFont>
#include <QPoint>
#include <QWidget>

// The desktop's sans-serif at a size in pixels, as the window's artwork expects.
QFont FaceFont(int pixelSize, bool bold = false);

// The painted face of the configuration window: header, group captions and
// panels under the controls. The window has no title bar, so dragging the
// face moves it.
class ConfigFace : public QWidget {
    Q_OBJECT
public:
    explicit ConfigFace(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint m_grab; // pointer position within the window at the press
    bool m_dragging = false;
    bool m_highContrast; // the hint in the palette's colours
};
