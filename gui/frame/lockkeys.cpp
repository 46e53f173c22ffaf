#include "gui/frame/lockkeys.h"

#include <QGuiApplication>

#ifdef VELK_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace {

#ifdef VELK_HAVE_X11
// Asked by indicator name: which modifier bit a lock uses differs between keymaps.
bool IndicatorOn(Display* pDisplay, const char* pszName)
{
    Bool bOn = False;
    const Atom atom = XInternAtom(pDisplay, pszName, True);
    return atom != None && XkbGetNamedIndicator(pDisplay, atom, nullptr, &bOn, nullptr, nullptr) && bOn;
}
#endif

}  // namespace

std::optional<SLockKeys> ReadLockKeys()
{
#ifdef VELK_HAVE_X11
    const auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* pDisplay = pX11 ? pX11->display() : nullptr;
    if (!pDisplay)
        return std::nullopt;
    return SLockKeys{IndicatorOn(pDisplay, "Caps Lock"), IndicatorOn(pDisplay, "Num Lock")};
#else
    return std::nullopt;
#endif
}
