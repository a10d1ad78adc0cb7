// Qt's own texts (the file chooser, the standard edit menus, the dialog buttons) in
// Japanese, whatever the system's language: every other caption is Japanese too.
#pragma once

class QTranslator;

// Installs Qt's Japanese translations into the running application and returns them
// (deleting them takes them out again); nullptr when this system lacks them, and Qt's
// texts then stay in English.
QTranslator* InstallQtJapanese();
