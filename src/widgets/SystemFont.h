// The font of the windows: the Japanese gothic they were laid out with, at 12 pixels.
#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

// The families tried, in order: the one the windows were designed with, then the
// Japanese gothics a Linux desktop commonly has, proportional ones first.
QStringList SystemFontFamilies();

// The first installed family of SystemFontFamilies(), else the application's default
// family; always 12 pixels. Needs a running QGuiApplication.
QFont SystemFont();

// Gives widget, and so every control on it, SystemFont().
void ApplySystemFont(QWidget* widget);
