// Files dropped from the file manager.
#pragma once

#include <QStringList>

class QMimeData;

// The local files a drop carries, in drop order; none for anything else.
QStringList LocalFilesOf(const QMimeData* data);
