#include "Banner.h"

#include <QString>

QPixmap bannerPicture(int width, int height)
{
    return QPixmap(QStringLiteral(":/images/banner-%1x%2.png").arg(width).arg(height));
}
