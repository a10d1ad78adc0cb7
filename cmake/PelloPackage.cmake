# `cpack -G DEB` in the build folder (or `make package`) makes a Debian package of what
# cmake/PelloInstall.cmake installs, its version the project's.
set(CPACK_PACKAGE_NAME pello-data-editor)
set(CPACK_PACKAGE_VENDOR "Pello Data Editor developers")
set(CPACK_PACKAGE_CONTACT "Pello Data Editor developers <noreply@pello.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "editor for the button data file of a tab-style application launcher")
# Each line within 80 columns once dpkg indents it by one.
set(CPACK_PACKAGE_DESCRIPTION
    "Pello Data Editor (pelledit) edits the pages and buttons of a tab-style
application launcher's data file, in its text or its binary form, with a
Japanese user interface. It takes in the use counts the launcher writes while
the file is open, asks before it overwrites any other change, and keeps
backups and a recovery copy of unsaved edits.
.
pellodata converts, prints and checks data files from the command line.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/build-[^/]*/" "/fuzz/crashes/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps. What Qt and the editor
# load only at run time is named here: the SVG icon engine (the window icon, SVG theme
# icons), Qt's own Japanese texts, a Japanese font, and the MIME database that GIO
# names file types from.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-translations-l10n, fonts-ipafont-gothic | fonts-japanese-gothic, shared-mime-info")
# The icon theme that stands in where the desktop names none, and xdg-open, which opens
# a target's folder outside the big desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

include(CPack)
