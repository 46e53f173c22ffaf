#include "gui/app/logoimage.h"

QImage LoadLogoImage()
{
    QImage image = QImage(QStringLiteral(":/images/logo.png")).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((pLine[x] & 0x00FFFFFF) == 0x00FFFFFF)
                pLine[x] = qRgba(255, 255, 255, 0);
    }
    return image;
}
