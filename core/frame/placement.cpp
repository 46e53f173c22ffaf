#include "core/frame/placement.h"

QRect PlaceWindow(const QRect& rcStored, const QList<QRect>& screens, const QRect& rcPrimaryFree)
{
    if (rcStored.width() < 1 || rcStored.height() < 1)
        return QRect();
    for (const QRect& rcScreen : screens)
        if (rcScreen.intersects(rcStored))
            return rcStored;
    if (rcPrimaryFree.isEmpty())
        return rcStored;
    QRect rc = rcStored;
    rc.setSize(rc.size().boundedTo(rcPrimaryFree.size()));
    rc.moveCenter(rcPrimaryFree.center());
    return rc;
}
