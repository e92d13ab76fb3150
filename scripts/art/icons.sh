#!/usr/bin/env bash
# The program's icon: a grey filing cabinet whose top drawer stands open and
# a green arrow going down into it. MAINICON (the window) and TRAYICON (the
# notification area, with a white rim so it also reads on a dark panel) are
# 32 x 32 icons in the 16 colours of the classic 4-bit palette; the desktop
# gets the same drawing as PNG at 32 x 32 and 256 x 256. Run from the
# repository root.
set -euo pipefail
out=resources/icons
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The drawing on a 32 x 32 grid, in colours of the 16-colour palette given as
# numbers (ImageMagick's "green" is not the palette's).
drawing() {
  cat <<MVG
stroke #000000 stroke-width 1
fill #C0C0C0 rectangle 4,11 27,30
fill #000080 rectangle 7,13 24,19
fill #C0C0C0 rectangle 7,22 24,27
fill #000000 rectangle 14,24 17,25
stroke #008000 stroke-width 1
fill #00FF00 polygon 13,1 18,1 18,9 23,9 15.5,17 8,9 13,9
MVG
}

convert -size 32x32 xc:none +antialias -draw "$(drawing)" "$tmp/main.png"
# The rim: the picture's shape grown by one pixel, in white, underneath.
convert "$tmp/main.png" \( +clone -fill '#FFFFFF' -colorize 100 -channel RGBA -morphology Dilate Square:1 +channel \) \
  +swap -composite "$tmp/tray.png"
# -colors 16 makes ImageMagick write 4-bit icons.
convert "$tmp/main.png" -colors 16 "$out/MAINICON.ico"
convert "$tmp/tray.png" -colors 16 "$out/TRAYICON.ico"
cp "$tmp/main.png" "$out/tarvok-32.png"
# The large picture: the same grid scaled by 8, smoothed.
convert -size 256x256 xc:none -draw "scale 8,8 $(drawing)" "$out/tarvok-256.png"
# Keep the PNGs free of time stamps so a redraw changes nothing.
for png in "$out"/tarvok-*.png; do
  mogrify -strip -define png:exclude-chunks=date,time "$png"
done
