#include "gui/controls/imagelist.h"

#include "gui/controls/logoimage.h"

#include <QPixmap>

QIcon ImageListIcon(int nImage)
{
    static const QPixmap strip = QPixmap::fromImage(LoadAppImage(QStringLiteral("tree.png")));
    constexpr int kSize = 16;
    if (nImage < 0 || (nImage + 1) * kSize > strip.width())
        return QIcon();
    return QIcon(strip.copy(nImage * kSize, 0, kSize, kSize));
}
