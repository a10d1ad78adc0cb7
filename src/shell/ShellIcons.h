// The icons of last resort: the shell's own icons and the placeholder of
// unregistered buttons. Icons need a QGuiApplication.
#pragma once

#include <QIcon>

// Icon n of the shell's own icon library ("shell32.dll", by its theme
// stand-ins); icon 0, a file of no known type, when n has none. Never a null
// icon, even without an icon theme.
QIcon ShellIcon(int n);

// The transparent 32 x 32 "NULLICON" that stands for an unregistered button.
QIcon PlaceholderIcon();
