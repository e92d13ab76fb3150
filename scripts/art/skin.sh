#!/usr/bin/env bash
# Draws the skinned window's artwork with ImageMagick: the built-in skin
# BACKGROUND, the nine caption-button bitmaps, the small pictures of the push
# buttons and tool bar, and the three example skins the build puts into the
# Skin folder. Run from the repository root (scripts/make_artwork.sh does).
set -euo pipefail
out=resources/skin
mkdir -p "$out/buttons" "$out/glyphs" "$out/examples"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fonts=/usr/share/fonts/truetype/dejavu
bold=$fonts/DejaVuSans-Bold.ttf
light=$fonts/DejaVuSans-ExtraLight.ttf

# ---- BACKGROUND: 700 x 500, 256 colours --------------------------------
# A night-blue field lit from the upper left; quiet plates lie under the
# controls (header row, lists, status line, schedule panel); the free edge
# band carries the rings of a spinning disc and the program's name.
convert -size 700x500 gradient:'#16436a-#061626' \
  \( -size 900x900 radial-gradient:'#3d86b5-#00000000' -crop 700x500+330+330 +repage \) \
  -compose screen -composite "$tmp/field.png"
rings=()
for r in $(seq 70 26 460); do
  rings+=(-draw "circle 690,520 $((690 + r)),520")
done
convert "$tmp/field.png" -fill none -stroke '#5fb0d844' -strokewidth 2 "${rings[@]}" \
  -stroke '#8fd3f066' -strokewidth 5 -draw "arc 350,170 1030,870 200,250" \
  "$tmp/rings.png"
convert "$tmp/rings.png" \
  -fill '#04101ccc' -stroke '#6fb6dd' -strokewidth 1 \
  -draw 'roundrectangle 84,22 622,410 14,14' \
  -fill '#0a2238' -stroke '#2f6f96' -draw 'roundrectangle 90,26 616,68 8,8' \
  -fill '#0d2a44' -stroke '#24577a' -draw 'roundrectangle 90,82 616,352 8,8' \
  -fill '#103452' -stroke none -draw 'rectangle 300,110 405,300' \
  -fill '#0a2238' -stroke '#2f6f96' -draw 'roundrectangle 90,356 616,404 8,8' \
  -fill '#6fb6dd' -stroke none \
  -draw 'circle 40,250 44,250' -draw 'circle 40,230 43,230' -draw 'circle 40,270 43,270' \
  -draw 'circle 40,210 42,210' -draw 'circle 40,290 42,290' \
  -font "$bold" -pointsize 46 -fill '#02080f' -annotate +153+469 'Tarvok' \
  -fill '#b8e6ff' -annotate +150+466 'Tarvok' \
  -font "$light" -pointsize 17 -fill '#9cc9e4' -annotate +336+462 'your files, kept on time' \
  -colors 256 -type Palette "BMP3:$out/background.bmp"

# ---- Caption buttons: 32 x 32, 16 colours ---------------------------------
# A grey square whose bevel is raised (Up), flat (Over) or sunken (Down),
# carrying the button's symbol in the colour of that state.
square() { # state light dark
  convert -size 32x32 xc:'#c0c0c0' -fill none \
    -stroke "$2" -draw 'line 0,0 31,0' -draw 'line 0,0 0,31' \
    -stroke "$3" -draw 'line 31,0 31,31' -draw 'line 0,31 31,31' \
    -stroke "$2" -draw 'line 1,1 30,1' -draw 'line 1,1 1,30' \
    -stroke "$3" -draw 'line 30,1 30,30' -draw 'line 1,30 30,30' \
    "$tmp/$1.png"
}
square up '#ffffff' '#404040'
square over '#c0c0c0' '#c0c0c0'
convert "$tmp/over.png" -fill none -stroke '#808080' -draw 'rectangle 0,0 31,31' "$tmp/over.png"
square down '#404040' '#ffffff'

symbol() { # name state colour offset drawing...
  local name=$1 state=$2 colour=$3 off=$4
  shift 4
  convert "$tmp/$state.png" -fill "$colour" -stroke "$colour" \
    -draw "translate $off,$off $*" -colors 16 -type Palette "BMP3:$out/buttons/$name$state.bmp"
}
for state in up over down; do
  case $state in up) off=0 ;; over) off=0 ;; down) off=1 ;; esac
  m=$(case $state in up) echo '#000080' ;; over) echo '#008000' ;; down) echo '#00ffff' ;; esac)
  c=$(case $state in up) echo '#800000' ;; over) echo '#008000' ;; down) echo '#ff0000' ;; esac)
  k=$(case $state in up) echo '#808000' ;; over) echo '#008000' ;; down) echo '#ffff00' ;; esac)
  symbol min "$state" "$m" "$off" 'polygon 8,12 24,12 16,22'
  symbol close "$state" "$c" "$off" 'stroke-width 3 line 9,9 22,22 line 22,9 9,22'
  symbol menu "$state" "$k" "$off" \
    'fill none stroke-width 2 rectangle 8,6 23,25 line 8,13 23,13 line 8,19 23,19 fill black stroke none rectangle 14,9 17,10 rectangle 14,15 17,16 rectangle 14,21 17,22'
done

# ---- Small pictures: 16 x 16 with a see-through ground ---------------------
glyph() { # name drawing...
  local name=$1
  shift
  convert -size 64x64 xc:none "$@" -resize 16x16 "$out/glyphs/$name.png"
}
cross() { echo "stroke $1 stroke-width $2 stroke-linecap round line 14,14 50,50 line 50,14 14,50"; }
tick() { echo "fill none stroke $1 stroke-width 10 stroke-linecap round stroke-linejoin round polyline 10,34 24,50 54,14"; }
folder() { # x y w h
  echo "fill #e6be28 stroke #825a00 stroke-width 3 rectangle $1,$(($2 + 6)) $(($1 + $3)),$(($2 + $4)) rectangle $1,$2 $(($1 + $3 * 45 / 100)),$(($2 + 6))"
}
glyph tick -draw "$(tick '#0000dc')"
glyph bluecross -draw "$(cross '#0000dc' 10)"
glyph redyellowcross -draw "$(cross '#c80000' 14)" -draw "$(cross '#ffe600' 6)"
glyph crosswithtick -draw "$(cross '#c80000' 7)" -draw "$(tick '#009600')"
glyph pause -fill '#0000a0' -stroke '#000064' -strokewidth 3 -draw 'rectangle 16,12 27,52 rectangle 37,12 48,52'
glyph play -fill '#00aa00' -stroke '#005a00' -strokewidth 3 -draw 'polygon 16,10 52,32 16,54'
glyph stop -fill '#d20000' -stroke '#6e0000' -strokewidth 3 -draw 'rectangle 14,14 50,50'
glyph openfolder -draw "$(folder 4 12 48 40)" \
  -fill '#ffeb5a' -stroke '#825a00' -strokewidth 3 -draw 'polygon 14,28 62,28 52,52 4,52'
glyph foldertree -stroke '#3c3c3c' -strokewidth 4 -draw 'line 14,28 14,54 line 14,54 32,54' \
  -draw "$(folder 4 4 28 24)" -draw "$(folder 32 40 28 22)"
glyph funnel -fill '#3c78e6' -stroke '#00008c' -strokewidth 3 \
  -draw 'polygon 6,10 58,10 38,34 38,56 26,50 26,34'
glyph arrowsright -fill '#285ae6' -stroke '#0000a0' -strokewidth 3 \
  -draw 'polygon 6,12 34,32 6,52' -draw 'polygon 30,12 58,32 30,52'
convert "$out/glyphs/arrowsright.png" -flop "$out/glyphs/arrowsleft.png"
for name in openfolder foldertree; do
  convert "$out/glyphs/$name.png" -colorspace Gray -level -60%,160% "$out/glyphs/$name-disabled.png"
done

# ---- Example skins for the Skin folder ------------------------------------
# 0: dawn over hills; 1: a green circuit board; 2: a smaller stained-glass
# pattern (640 x 460), which leaves part of a larger window to its colour.
convert -size 700x500 gradient:'#ffcf8a-#b9487a' \
  -fill '#7a2e5a' -draw 'ellipse 120,560 420,200 0,360' \
  -fill '#5b1f4a' -draw 'ellipse 560,590 460,230 0,360' \
  -fill '#fff3c4' -draw 'circle 560,120 560,70' \
  -fill '#ffffff30' -draw 'roundrectangle 84,22 622,410 14,14' \
  -colors 256 -type Palette "BMP3:$out/examples/TarvokSkin0.bmp"
board=(-fill none -stroke '#7fe08a' -strokewidth 2)
for y in $(seq 20 40 480); do
  x=$(((y * 37) % 520 + 60))
  board+=(-draw "polyline 0,$y $x,$y $((x + 40)),$((y + 40)) 700,$((y + 40))")
  board+=(-draw "circle $x,$y $((x + 5)),$y")
done
convert -size 700x500 gradient:'#0f5a2a-#03200e' "${board[@]}" \
  -fill '#02140acc' -stroke '#7fe08a' -strokewidth 1 -draw 'roundrectangle 84,22 622,410 14,14' \
  -type TrueColor "BMP3:$out/examples/TarvokSkin1.bmp"
glass=()
for x in $(seq 0 80 640); do
  for y in $(seq 0 80 460); do
    glass+=(-fill "rgb($(((x * 3 + y) % 200 + 40)),$(((y * 2 + 60) % 180 + 50)),$(((x + y * 3) % 160 + 90)))"
      -draw "polygon $x,$y $((x + 80)),$y $((x + 40)),$((y + 80))"
      -fill "rgb($(((y * 3 + 90) % 200 + 40)),$(((x * 2) % 180 + 50)),$(((x * 5 + y) % 160 + 90)))"
      -draw "polygon $((x + 80)),$y $((x + 120)),$((y + 80)) $((x + 40)),$((y + 80))")
  done
done
convert -size 640x460 xc:'#202020' -stroke '#202020' -strokewidth 3 "${glass[@]}" \
  -type TrueColor "BMP3:$out/examples/TarvokSkin2.bmp"

# ---- The resource list -----------------------------------------------------
# Without their time stamps, the same drawing gives the same files.
mogrify -strip -define png:exclude-chunks=date,time "$out"/glyphs/*.png
{
  echo '<!DOCTYPE RCC><RCC version="1.0">'
  echo '<qresource prefix="/skin">'
  echo '  <file alias="BACKGROUND">skin/background.bmp</file>'
  for f in "$out"/buttons/*.bmp; do
    n=$(basename "$f" .bmp)
    echo "  <file alias=\"${n^^}\">skin/buttons/$n.bmp</file>"
  done
  for f in "$out"/glyphs/*.png; do
    echo "  <file alias=\"glyphs/$(basename "$f")\">skin/glyphs/$(basename "$f")</file>"
  done
  echo '</qresource>'
  echo '</RCC>'
} >resources/skin.qrc
