#!/usr/bin/env bash
# The layout is the architecture: each source folder is one library, and its code includes only
# the folders below it, in this order from the top:
#   app -> mainwindow -> dialogs -> gui -> settings -> model -> dictionary
# (tools uses dictionary only). Fails on any include that points up or sideways out of that
# order, and on a build file that names another folder's files.
set -euo pipefail
cd "$(dirname "$0")/.."

order=(app mainwindow dialogs gui settings model dictionary)
declare -A allowed=(
  [app]="app mainwindow dialogs gui settings model dictionary"
  [mainwindow]="mainwindow dialogs gui settings model dictionary"
  [dialogs]="dialogs gui settings model dictionary"
  [gui]="gui settings model dictionary"
  [settings]="settings"
  [model]="model dictionary"
  [dictionary]="dictionary"
  [tools]="tools dictionary"
)
folders="app mainwindow dialogs gui settings model dictionary tools"
status=0
for folder in "${order[@]}" tools; do
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -n 's/.*#include "\([a-z]*\)\/.*/\1/p' <<<"$line")
    [ -n "$target" ] || continue
    case " $folders " in *" $target "*) ;; *) continue ;; esac
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *)
        echo "ci-layers: $file includes $target/, above or beside $folder/" >&2
        status=1
        ;;
    esac
  done < <(grep -Hn '#include "[a-z]*/' "$folder"/*.cpp "$folder"/*.h 2>/dev/null || true)
  if grep -n '\.\./' "$folder/CMakeLists.txt" >&2; then
    echo "ci-layers: $folder/CMakeLists.txt names files outside its folder" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "ci-layers: every folder uses only the ones below it"
exit "$status"
