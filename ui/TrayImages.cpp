#include "TrayImages.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <array>

int LevelBand(uint32_t value) {
    if (value <= 18)
        return 0;
    return std::min<int>(5, 1 + static_cast<int>(value - 19) / 22);
}

int LevelIconIndex(uint32_t level) {
    const uint32_t left = level & 0xFFFF, right = level >> 16;
    if (left > 128 || right > 128)
        return 0;
    return 6 * LevelBand(left) + LevelBand(right);
}

namespace {
void drawMeterRow(QPainter& p, int top, int lit) {
    for (int segment = 0; segment < 5; ++segment) {
        const QColor colour = segment < lit ? QColor(0, 255, 0) : QColor(0, 80, 0);
        p.fillRect(1 + segment * 3, top, 2, 6, colour);
    }
}

QPixmap drawRec(const QColor& background, const QColor& letters) {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(background);
    p.setPen(background.darker(150));
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 2, 2);
    QFont font;
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(letters);
    p.drawText(QRect(0, 2, 16, 12), Qt::AlignCenter, QStringLiteral("REC"));
    return image;
}
} // namespace

QPixmap DrawTrayImage(int index) {
    index = std::clamp(index, 0, kTrayImageCount - 1);
    if (index == kIdleIcon)
        return drawRec(QColor(30, 80, 200), Qt::white);
    if (index == kBusyIcon)
        return drawRec(QColor(210, 30, 30), QColor(255, 230, 0));
    QPixmap image(16, 16);
    image.fill(Qt::black);
    QPainter p(&image);
    drawMeterRow(p, 1, index / 6); // left channel above
    p.fillRect(0, 7, 16, 2, QColor(128, 128, 128));
    drawMeterRow(p, 9, index % 6); // right channel below
    return image;
}

const QIcon& TrayIconImage(int index) {
    // Never freed: pixmaps must not outlive the application object, which a
    // static's destructor would run after.
    static const auto* icons = [] {
        auto* drawn = new std::array<QIcon, kTrayImageCount>;
        for (int i = 0; i < kTrayImageCount; ++i)
            (*drawn)[static_cast<size_t>(i)] = QIcon(DrawTrayImage(i));
        return drawn;
    }();
    return (*icons)[static_cast<size_t>(std::clamp(index, 0, kTrayImageCount - 1))];
}
