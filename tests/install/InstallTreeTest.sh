#!/bin/bash
# InstallTreeTest.sh CMAKE BUILD_DIR STAGE EDITOR SOURCE_DIR
# Installs BUILD_DIR under STAGE and checks the installed files: that each is there,
# that the desktop tools take the desktop entry, metainfo and MIME type (where they
# are installed), that the MIME type knows both forms of the data file, and that the
# completion offers every command pellodata has.
set -u
cmake=$1 build=$2 stage=$3 editor=$4 source=$5
id=io.github.pello.dataeditor
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
have() { command -v "$1" >/dev/null 2>&1; }

rm -rf "$stage"
"$cmake" --install "$build" --prefix "$stage" >"$stage.log" 2>&1 || {
  cat "$stage.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
}

expected="bin/pellodata share/man/man1/pellodata.1.gz share/man/ja/man1/pellodata.1.gz
  share/bash-completion/completions/pellodata
  share/doc/pello-data-editor/copyright share/doc/pello-data-editor/changelog.gz"
if [ "$editor" = 1 ]; then
  expected="$expected bin/pelledit share/man/man1/pelledit.1.gz share/man/ja/man1/pelledit.1.gz
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg
    share/icons/hicolor/scalable/mimetypes/application-x-pello-launch-list.svg"
  # Installed without DESTDIR, the desktop's databases know the new files at once.
  if have update-mime-database; then expected="$expected share/mime/mime.cache"; fi
fi
for file in $expected; do
  [ -s "$stage/$file" ] || fail "$file was not installed"
done
for program in "$stage"/bin/*; do
  [ -x "$program" ] || fail "$program is not executable"
done

# The English pages read cleanly in a terminal with Japanese and without it (LC_ALL=C:
# no heading lost to warnings); the Japanese ones as man reads them, through preconv.
if have groff; then
  for page in "$stage"/share/man/man1/*.1.gz; do
    for device in utf8 ascii; do
      warnings=$(gzip -dc "$page" | groff -man -T$device -ww -z 2>&1)
      [ -z "$warnings" ] || fail "groff -T$device on $page: $warnings"
    done
  done
  for page in "$stage"/share/man/ja/man1/*.1.gz; do
    warnings=$(gzip -dc "$page" | groff -k -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff on $page: $warnings"
  done
fi

# The completion offers each command that pellodata's usage text names.
completion=$stage/share/bash-completion/completions/pellodata
offered=$(
  # shellcheck disable=SC1090
  source "$completion" || exit 1
  COMP_WORDS=(pellodata "") COMP_CWORD=1
  _pellodata
  echo "${COMPREPLY[*]}"
  COMP_WORDS=(pellodata check "") COMP_CWORD=2
  _pellodata
  echo "${COMPREPLY[*]}"
) || fail "the completion does not load"
for command in $("$stage/bin/pellodata" 2>&1 | sed -n 's/^[a-z: ]*pellodata \([a-z][a-z]*\).*/\1/p'); do
  grep -qw -- "$command" <<<"$offered" || fail "the completion does not offer '$command'"
done
grep -q -- "--targets" <<<"$offered" || fail "the completion does not offer --targets after check"

if [ "$editor" = 1 ]; then
  # The desktop's commands run in the installed helper, found from the installed pellodata.
  "$stage/bin/pellodata" classify "$stage" >/dev/null 2>&1 ||
    fail "pellodata classify does not find its installed helper"
  share=$stage/share
  if have desktop-file-validate; then
    desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
  fi
  if have appstreamcli; then
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$stage/appstream.log" 2>&1 ||
      { cat "$stage/appstream.log" >&2; fail "appstreamcli validate"; }
  fi
  if have xmllint; then
    xmllint --noout "$share/mime/packages/$id.xml" "$share/icons/hicolor/scalable/apps/$id.svg" ||
      fail "xmllint"
  fi
  # Either form is recognised by its first bytes, whatever its name; a text file that
  # merely ends in .lst stays plain text, and the text form is plain text too, so
  # text editors stay on offer for both.
  if have update-mime-database && have gio; then
    cp "$source/examples/sample.lst" "$stage/text-form"
    cp "$source/fuzz/corpus/data_file/example176.bin" "$stage/binary-form.lst"
    printf 'hello\n' >"$stage/hello.lst"
    for case in text-form=application/x-pello-launch-list \
      binary-form.lst=application/x-pello-launch-list-binary hello.lst=text/plain; do
      file=$stage/${case%%=*} want=${case#*=}
      type=$(XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" GIO_USE_VFS=local \
        gio info -a standard::content-type "$file" 2>/dev/null | sed -n 's/.*content-type: //p')
      [ "$type" = "$want" ] || fail "$file is taken for '$type', not '$want'"
    done
    grep -qx "application/x-pello-launch-list text/plain" "$share/mime/subclasses" ||
      fail "the text form is no kind of text/plain"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
rm -rf "$stage" "$stage.log"
