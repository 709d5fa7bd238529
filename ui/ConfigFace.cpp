#include "ConfigFace.h"

#include "HighContrast.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kFace(236, 240, 245);
const QColor kPanel(255, 255, 255);
const QColor kPanelEdge(200, 210, 222);
const QColor kCaption(52, 72, 98);
const QColor kHeaderTop(40, 66, 104);
const QColor kHeaderBottom(70, 108, 158);

// A group: caption above a white rounded panel.
void drawGroup(QPainter& p, const QString& caption, const QRectF& panel) {
    p.setPen(kCaption);
    p.setFont(FaceFont(12, true));
    p.drawText(QRectF(panel.left() + 2, panel.top() - 20, panel.width(), 18),
               Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.setPen(QPen(kPanelEdge, 1));
    p.setBrush(kPanel);
    p.drawRoundedRect(panel, 6, 6);
}

// A reel-to-reel tape: the program's mark in the header.
void drawMark(QPainter& p, const QPointF& centre) {
    p.setPen(QPen(QColor(255, 255, 255, 220), 2));
    p.setBrush(Qt::NoBrush);
    const QRectF body(centre.x() - 22, centre.y() - 14, 44, 28);
    p.drawRoundedRect(body, 4, 4);
    for (const qreal dx : {-10.0, 10.0}) {
        p.drawEllipse(QPointF(centre.x() + dx, centre.y() - 2), 6, 6);
        p.drawEllipse(QPointF(centre.x() + dx, centre.y() - 2), 1.5, 1.5);
    }
    p.drawLine(QPointF(centre.x() - 10, centre.y() + 8), QPointF(centre.x() + 10, centre.y() + 8));
}
} // namespace

QFont FaceFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

ConfigFace::ConfigFace(QWidget* parent)
    : QWidget(parent), m_highContrast(DesktopWantsHighContrast()) {
    setObjectName(QStringLiteral("ImageBG"));
}

void ConfigFace::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all = rect();
    p.fillRect(all, kFace);

    QLinearGradient header(0, 0, 0, 84);
    header.setColorAt(0, kHeaderTop);
    header.setColorAt(1, kHeaderBottom);
    p.fillRect(QRectF(0, 0, all.width(), 84), header);
    drawMark(p, QPointF(44, 42));
    p.setPen(Qt::white);
    p.setFont(FaceFont(26, true));
    p.drawText(QRectF(80, 14, 250, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tapewren"));
    p.setPen(QColor(205, 220, 240));
    p.setFont(FaceFont(12));
    p.drawText(QRectF(82, 48, 250, 20), Qt::AlignLeft | Qt::AlignVCenter,
               tr("One-click sound recorder"));

    drawGroup(p, tr("Recording Channel"), QRectF(10.5, 120.5, 327, 43));
    drawGroup(p, tr("Recording Quality"), QRectF(10.5, 200.5, 327, 54));
    drawGroup(p, tr("Recording Volume"), QRectF(10.5, 284.5, 327, 46));
    drawGroup(p, tr("About and Help"), QRectF(10.5, 364.5, 327, 76));

    // Marks before the links: product, questions, support.
    const struct {
        qreal y;
        const char* glyph;
    } marks[] = {{380, "i"}, {404, "?"}, {428, "@"}};
    for (const auto& mark : marks) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(122, 160, 199));
        p.drawEllipse(QPointF(30, mark.y), 7, 7);
        p.setPen(Qt::white);
        p.setFont(FaceFont(10, true));
        p.drawText(QRectF(23, mark.y - 7, 14, 14), Qt::AlignCenter,
                   QString::fromLatin1(mark.glyph));
    }

    const QRectF hint(198, 134, 134, 16);
    if (m_highContrast)
        p.fillRect(hint, palette().color(QPalette::Window));
    p.setPen(m_highContrast ? palette().color(QPalette::WindowText) : QColor(140, 150, 165));
    p.setFont(FaceFont(10));
    p.drawText(hint, Qt::AlignLeft | Qt::AlignVCenter, tr("Input of the sound server"));

    // The border the window manager does not draw.
    p.setPen(QPen(QColor(40, 66, 104), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
}

void ConfigFace::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_grab = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void ConfigFace::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - m_grab);
}

void ConfigFace::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
}
