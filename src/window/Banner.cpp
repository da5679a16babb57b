#include "Banner.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap drawBanner(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0.0, QColor(0x0b, 0x3d, 0x6e));
    sky.setColorAt(1.0, QColor(0x2f, 0x8f, 0xc9));
    painter.fillRect(image.rect(), sky);

    // A receipt roll on the left, the name beside it.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf4, 0xf4, 0xee));
    painter.drawRoundedRect(QRectF(12, 8, height * 0.55, height - 16), 4, 4);
    painter.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
    for (int y = 18; y < height - 14; y += 7)
        painter.drawLine(QPointF(17, y), QPointF(12 + height * 0.55 - 5, y));

    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(height / 3);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(int(24 + height * 0.55), 6, width, height / 2), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Kestrova PX9"));
    QFont subtitle = title;
    subtitle.setBold(false);
    subtitle.setPixelSize(height / 5);
    painter.setFont(subtitle);
    painter.drawText(QRect(int(24 + height * 0.55), height / 2, width, height / 2 - 6),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ESC/POS 打印机与钱箱测试"));
    painter.end();
    return QPixmap::fromImage(image);
}
