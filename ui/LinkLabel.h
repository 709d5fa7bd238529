#pragma once

#include <QLabel>

// A transparent text that opens something when clicked; blue-grey at rest,
// orange under the pointer.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    static const QColor kRestColour;
    static const QColor kHoverColour;

    LinkLabel(QWidget* parent, const char* name, const QString& text);
    QColor Colour() const;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColour(const QColor& colour);
};
