#!/usr/bin/env bash
# Makes the user guide's pictures, docs/images/<language>-<view>.png: the main window
# collapsed and with each panel, the slot menu (also with its list of pointing
# devices and with its list of programs) and the tray menu, in English and in Japanese, as the end-to-end test of
# the captions takes them from the real program under Wine 10 (scripts/e2e.sh). PNG
# without time or date chunks, so that the same screens give the same files.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/e2e.sh --gtest_filter='Language.EveryCaptionFitsItsControlInItsFont'
mkdir -p docs/images
for language in en ja; do
  for view in collapsed detail option slot-menu slot-devices slot-programs tray-menu; do
    # The slot menu and its submenu leave the screen showing above the submenu, at the
    # top right: that corner becomes transparent.
    clear=()
    if [ "$view" = slot-devices ] || [ "$view" = slot-programs ]; then
      width=$(identify -format '%w' "build/screenshots/$language-$view.bmp")
      clear=(-alpha set -fill none -draw "color $((width - 1)),0 floodfill")
    fi
    convert "build/screenshots/$language-$view.bmp" "${clear[@]}" -strip \
      -define png:exclude-chunks=date,time "docs/images/$language-$view.png"
  done
done
ls -l docs/images
