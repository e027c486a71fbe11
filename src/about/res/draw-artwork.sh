#!/usr/bin/env bash
# Draws the About box's own pictures with ImageMagick: the picture beside the program's name and
# the images of the two link buttons. Each is drawn large and scaled down, which smooths the
# edges. Run it from anywhere after changing a drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # draw <output> <drawn size> <final size> <ImageMagick drawing arguments...>
    local out=$1 drawn=$2 size=$3
    shift 3
    convert -size "${drawn}x${drawn}" xc:none "$@" -resize "${size}x${size}" -strip "PNG32:$out"
}

# The picture: a ferry crossing to a portico on the far shore at dusk.
draw picture.png 280 70 \
    -fill '#27345f' -draw 'rectangle 0,0 280,150' \
    -fill '#4b4f86' -draw 'rectangle 0,80 280,150' \
    -fill '#c8647a' -draw 'rectangle 0,120 280,150' \
    -fill '#f6c667' -draw 'circle 200,142 200,118' \
    -fill '#f2f2f2' -draw 'point 40,30' -draw 'point 90,18' -draw 'point 150,40' -draw 'point 240,24' \
    -fill '#3d5a3a' -draw 'polygon 0,150 0,128 60,112 140,124 150,150' \
    -fill '#eae2cf' -stroke '#6b5b3e' -strokewidth 2 \
    -draw 'polygon 30,84 70,62 110,84' \
    -draw 'rectangle 34,86 106,92' \
    -draw 'rectangle 40,94 48,122' -draw 'rectangle 56,94 64,122' \
    -draw 'rectangle 76,94 84,122' -draw 'rectangle 92,94 100,122' \
    -draw 'rectangle 30,122 110,128' \
    -stroke none -fill '#1d4f7a' -draw 'rectangle 0,150 280,280' \
    -fill '#2d6b9c' -draw 'rectangle 0,176 280,184' -draw 'rectangle 0,214 280,220' \
    -fill '#f6c667' -draw 'rectangle 176,156 224,162' -draw 'rectangle 186,170 214,176' \
    -fill '#7a4a24' -stroke '#4a2a10' -strokewidth 3 \
    -draw 'polygon 70,196 210,196 190,224 90,224' \
    -stroke none -fill '#d9c49a' -draw 'rectangle 96,186 104,196' \
    -fill '#3a2a1a' -draw 'circle 150,160 150,150' \
    -fill '#5a3a2a' -draw 'rectangle 141,170 159,196' \
    -stroke '#3a2a1a' -strokewidth 4 -draw 'line 170,140 124,236' \
    -stroke none -fill '#2d6b9c' -draw 'rectangle 0,238 280,244'

# The mail link: a closed envelope.
draw mail.png 128 16 \
    -fill '#f7f3e8' -stroke '#5a5a5a' -strokewidth 8 -draw 'rectangle 6,26 122,102' \
    -fill none -stroke '#5a5a5a' -strokewidth 8 -draw 'polyline 6,26 64,72 122,26' \
    -strokewidth 6 -draw 'line 6,102 50,60' -draw 'line 122,102 78,60'

# The messenger link: a green buddy with a speech bubble.
draw messenger.png 128 16 \
    -fill '#2e9a3a' -draw 'circle 44,62 44,40' \
    -draw 'path "M 6,124 C 6,92 20,86 44,86 C 68,86 82,92 82,124 Z"' \
    -fill '#ffffff' -stroke '#2b6cc4' -strokewidth 7 \
    -draw 'roundrectangle 62,6 124,50 12,12' \
    -draw 'polygon 76,48 70,68 94,48' \
    -stroke none -fill '#2b6cc4' \
    -draw 'circle 78,28 78,23' -draw 'circle 93,28 93,23' -draw 'circle 108,28 108,23'
