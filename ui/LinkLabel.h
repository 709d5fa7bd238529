#pragma once

#include <QLabel>

// A transparent text that opens something when clicked; blue-grey at rest,
// orange under the pointer. The keyboard reaches it too: Enter or Space
// opens it, and a frame shows it has the focus. Where the desktop asks for
// high contrast it takes the palette's link colour on the palette's window
// colour, underlined under the pointer.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    static const QColor kRestColour;
    static const QColor kHoverColour;

    LinkLabel(QWidget* parent, const char* name, const QString& text);
    QColor Colour() const;
    // A click, Enter or Space, or a screen reader's press.
    void Activate() { emit clicked(); }

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setColour(const QColor& colour);
    QColor restColour() const;

    bool m_highContrast;
};
