#!/bin/sh
# The logic folders build without a window: no source of theirs includes a header of
# QtWidgets (found in the folder given, so that every one of its headers counts).
#   LogicIncludes.sh SRC_FOLDER QTWIDGETS_INCLUDE_FOLDER
set -eu
src=$1
widgets=$2
status=0
for folder in data shell grid find safekeeping; do
  for file in $(find "$src/$folder" -name '*.cpp' -o -name '*.h'); do
    for header in $(sed -n 's/^#include <\(Q[A-Za-z]*\)>.*/\1/p' "$file"); do
      if [ -e "$widgets/$header" ]; then
        echo "$file includes <$header>, a header of QtWidgets"
        status=1
      fi
    done
  done
done
exit $status
