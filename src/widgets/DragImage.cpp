#include "DragImage.h"

#include "ItemIcons.h"
#include "ShellIcons.h"

void TButtonDrag::UpdateImage() {
  const QIcon icon = Item.Kind != lkNone ? GetItemIcon(Item) : ShellIcon(0);
  images_ = icon.pixmap(kImageSize, kImageSize);
}
