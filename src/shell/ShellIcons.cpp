#include "ShellIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>

#include "IcoReader.h"
#include "IconFiles.h"
#include "IconStore.h"
#include "WellKnownIcons.h"

// Resources of a static library are registered by hand, from the global namespace.
static void InitShellResources() {
  static bool done = false;
  if (!done) Q_INIT_RESOURCE(shell);
  done = true;
}

namespace {

constexpr const char* kShellLibrary = "shell32.dll";

// A blank sheet with a folded corner, drawn: the icon when no theme is installed.
QIcon DrawnFileIcon() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  const QPolygon sheet({QPoint(6, 2), QPoint(19, 2), QPoint(26, 9), QPoint(26, 29), QPoint(6, 29)});
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(Qt::white);
  painter.drawPolygon(sheet);
  painter.setBrush(QColor(208, 208, 208));
  painter.drawPolygon(QPolygon({QPoint(19, 2), QPoint(19, 9), QPoint(26, 9)}));
  painter.end();
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

QIcon ShellIcon(int n) {
  if (n != 0) {
    QIcon icon = WellKnownIcon(kShellLibrary, n);
    if (!icon.isNull()) return icon;
  }
  // Every button whose icon cannot be found shows this one: look it up once.
  QIcon& unknown = IconStore().unknownFile;
  if (unknown.isNull()) unknown = WellKnownIcon(kShellLibrary, 0);
  if (unknown.isNull()) unknown = DrawnFileIcon();
  return unknown;
}

QIcon PlaceholderIcon() {
  QIcon& placeholder = IconStore().placeholder;
  if (!placeholder.isNull()) return placeholder;
  placeholder = [] {
    InitShellResources();
    QFile file(":/pello/NULLICON.ico");
    TIconImages images;
    if (file.open(QIODevice::ReadOnly)) {
      QByteArray bytes = file.readAll();
      images = ReadIco(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (images.empty()) {  // cannot happen with the resource built in; stay transparent
      QImage blank(32, 32, QImage::Format_ARGB32);
      blank.fill(Qt::transparent);
      images.push_back(blank);
    }
    return IconOfImages(images);
  }();
  return placeholder;
}
