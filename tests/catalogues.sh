#!/bin/sh
# Each catalogue must hold exactly the words the code marks for translation,
# and every language but the code's own English must have them all done.
# Usage: catalogues.sh LUPDATE SOURCE_DIR CATALOGUE...
lupdate=$1
src=$2
shift 2
if [ ! -x "$lupdate" ]; then
  echo "skipped: lupdate is missing (package qt6-l10n-tools)"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for ts in "$@"; do
  name=$(basename "$ts")
  cp "$src/$ts" "$scratch/$name"
  # The same options as the update_translations target.
  (cd "$src" && "$lupdate" -silent -no-obsolete -locations none -I . rules table media shell -ts "$scratch/$name") || exit 1
  if ! diff -u "$src/$ts" "$scratch/$name"; then
    echo "FAIL: $ts does not match the code's words; run: cmake --build build --target update_translations"
    status=1
  fi
  case $name in
    *_en.ts) ;;
    *)
      unfinished=$(grep -c 'type="unfinished"' "$src/$ts")
      if [ "$unfinished" -ne 0 ]; then
        echo "FAIL: $ts has $unfinished unfinished entries:"
        grep -B3 'type="unfinished"' "$src/$ts" | grep '<source>'
        status=1
      fi
      ;;
  esac
done
exit $status
