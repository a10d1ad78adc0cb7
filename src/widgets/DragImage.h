// What a button drag in the main window's grid carries: the source cell, the dragged
// button, and one 32 x 32 image of its icon that travels with the pointer. One object
// serves every drag of the window; its values stay until the next drag.
#pragma once

#include <QPixmap>

#include "DataItems.h"

class TButtonDrag {
 public:
  static constexpr int kImageSize = 32;

  int SourceRow = 0;
  int SourceCol = 0;
  TLaunchDataItem Item;

  // Rebuilds the image from Item: its icon, or the shell's generic icon for an
  // unregistered button.
  void UpdateImage();
  // The image shown under the pointer while dragging.
  const QPixmap& Images() const { return images_; }

 private:
  QPixmap images_;
};
