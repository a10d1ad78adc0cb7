// Icons of the desktop's icon theme by name. The theme is found in the XDG data
// folders; where the platform names none (as offscreen), the Adwaita theme is used.
#pragma once

#include <QIcon>
#include <initializer_list>
#include <string>

// True when the icon theme (or its fallbacks) has an icon of this name.
bool HasThemeIcon(const std::string& name);

// The theme's icon of this name; a null icon when the theme has none. Repeated
// calls for one name return the same shared icon.
QIcon ThemeIcon(const std::string& name);

// The first of names that the theme has; a null icon when it has none of them.
QIcon FirstThemeIcon(std::initializer_list<const char*> names);
