#!/usr/bin/env bash
# Draws the About picture, a 600 x 362 colour JPEG: a dusk sky over hills, a
# stack of folders and a disk beside it, with a line about what it does. Run from the
# repository root (scripts/make_artwork.sh does).
set -euo pipefail
out=resources/about/about.jpg
mkdir -p "$(dirname "$out")"
font=$(fc-match -f '%{file}' 'Liberation Sans:bold')
convert -size 600x362 gradient:'#0b1d4a'-'#e07a3c' \
  -fill '#16324f' -draw 'ellipse 120,400 260,130 0,360' \
  -fill '#1f4d3a' -draw 'ellipse 470,420 300,150 0,360' \
  -fill '#fff4c2' -draw 'circle 500,90 528,90' \
  -fill '#ffffff' -draw 'point 60,40 point 140,22 point 230,60 point 330,30 point 400,52 point 90,95 point 270,18' \
  -stroke '#3b2a0a' -strokewidth 2 \
  -fill '#f2c14e' -draw 'roundrectangle 70,190 230,290 8,8' -draw 'polygon 70,196 70,178 130,178 142,190 230,190 230,196' \
  -fill '#e9a93a' -draw 'roundrectangle 90,170 250,270 8,8' \
  -fill '#d98e2b' -draw 'roundrectangle 110,150 270,250 8,8' \
  -fill '#2f6fad' -draw 'roundrectangle 360,170 480,290 6,6' \
  -fill '#cfd8e3' -draw 'rectangle 385,170 455,215' \
  -fill '#2f6fad' -draw 'rectangle 435,178 447,208' \
  -fill '#f4f4f4' -draw 'rectangle 378,235 462,285' \
  -stroke none -fill '#e07a3c' -draw 'polygon 290,215 330,215 330,200 355,225 330,250 330,235 290,235' \
  -font "$font" -pointsize 22 -stroke none -fill '#fff4c2' -annotate +150+100 'your files, kept every hour' \
  -strip -quality 88 -sampling-factor 2x2 "$out"
