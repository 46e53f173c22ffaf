#include "gui/controls/logoimage.h"

#include <QDir>

// The images live in a static library, whose resource registration the linker
// drops unless something refers to it.
static void InitImageResources()
{
    static const bool bDone = [] {
        Q_INIT_RESOURCE(velkedit);
        return true;
    }();
    Q_UNUSED(bDone);
}

QImage LoadAppImage(const QString& sName)
{
    InitImageResources();
    return QImage(QStringLiteral(":/images/") + sName);
}

QImage LoadLogoImage()
{
    QImage image = LoadAppImage(QStringLiteral("logo.png")).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((pLine[x] & 0x00FFFFFF) == 0x00FFFFFF)
                pLine[x] = qRgba(255, 255, 255, 0);
    }
    return image;
}
