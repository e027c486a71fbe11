#!/usr/bin/env bash
# Draws Portico's own pictures with ImageMagick: the game images of the shortcuts bar, the
# toolbar buttons and the program's icon. Each is drawn at 128 x 128 and scaled down, which
# smooths the edges. Run it from anywhere after changing a drawing; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"

draw() { # draw <output> <size> <ImageMagick drawing arguments...>
    local out=$1 size=$2
    shift 2
    convert -size 128x128 xc:none "$@" -resize "${size}x${size}" -strip "PNG32:$out"
}

# Game image 0: a ringed planet under a star.
draw games/game0.png 32 \
    -fill '#1b2a5c' -draw 'circle 64,64 64,4' \
    -fill '#4f8fe0' -draw 'circle 64,70 64,36' \
    -fill '#9cc8f5' -draw 'circle 54,58 54,48' \
    -fill none -stroke '#f2d36b' -strokewidth 7 -draw 'ellipse 64,72 54,14 0,180' \
    -stroke none -fill '#fff6c8' -draw 'polygon 96,14 100,26 112,30 100,34 96,46 92,34 80,30 92,26'

# Game image 1: a flame in a dark red disc.
draw games/game1.png 32 \
    -fill '#3a0a0a' -draw 'circle 64,64 64,4' \
    -fill '#c0281c' -draw 'path "M 64,14 C 84,42 104,58 96,88 C 90,110 38,110 32,88 C 26,66 46,56 50,34 C 58,48 62,40 64,14 Z"' \
    -fill '#f08a24' -draw 'path "M 64,46 C 76,62 88,74 82,92 C 78,104 50,104 46,92 C 42,80 54,72 56,58 C 60,66 62,60 64,46 Z"' \
    -fill '#ffe27a' -draw 'path "M 64,72 C 70,80 74,88 70,96 C 68,100 60,100 58,96 C 56,90 62,84 64,72 Z"'

# Game image 2: a grey gem; no game of the catalogue shows it.
draw games/game2.png 32 \
    -fill '#4a4f57' -draw 'circle 64,64 64,4' \
    -fill '#b9c2cc' -draw 'polygon 64,22 100,52 64,106 28,52' \
    -fill '#e6ebf0' -draw 'polygon 64,22 82,52 64,106 46,52' \
    -fill '#8b96a3' -draw 'polygon 28,52 100,52 64,60'

# Game image 3: a green shield with two crossed blades.
draw games/game3.png 32 \
    -fill '#2b1d0e' -draw 'circle 64,64 64,4' \
    -fill '#2f7d32' -stroke '#d9a93b' -strokewidth 6 \
    -draw 'path "M 64,18 L 100,30 C 100,70 88,94 64,110 C 40,94 28,70 28,30 Z"' \
    -stroke '#eeeeee' -strokewidth 8 -draw 'line 44,42 86,88' -draw 'line 84,42 42,88' \
    -stroke '#d9a93b' -strokewidth 8 -draw 'line 38,82 50,94' -draw 'line 78,94 90,82'

# Toolbar: reload, a circular arrow.
draw toolbar/reload.png 16 \
    -fill none -stroke '#2a7a2a' -strokewidth 16 -draw 'arc 20,20 108,108 30,320' \
    -stroke none -fill '#2a7a2a' -draw 'polygon 120,18 76,54 116,64'

# Toolbar: save, a diskette.
draw toolbar/save.png 16 \
    -fill '#2f5fa8' -draw 'roundrectangle 8,8 120,120 10,10' \
    -fill '#f4f4f4' -draw 'rectangle 28,8 100,52' \
    -fill '#2f5fa8' -draw 'rectangle 76,16 90,44' \
    -fill '#d8d8d8' -draw 'rectangle 26,74 102,120'

# Toolbar: add a server, a green plus.
draw toolbar/add.png 16 \
    -fill '#2e9a3a' -draw 'roundrectangle 50,10 78,118 6,6' -draw 'roundrectangle 10,50 118,78 6,6'

# Toolbar: delete a server, a red cross.
draw toolbar/delete.png 16 \
    -stroke '#c62828' -strokewidth 26 -draw 'line 24,24 104,104' -draw 'line 104,24 24,104'

# Toolbar: edit a server, a pencil.
draw toolbar/edit.png 16 \
    -fill '#e8b02a' -draw 'polygon 86,10 118,42 44,116 12,84' \
    -fill '#f2d6a6' -draw 'polygon 12,84 44,116 6,122' \
    -fill '#333333' -draw 'polygon 6,122 14,100 28,114' \
    -fill '#d0574a' -draw 'polygon 86,10 118,42 108,52 76,20'

# Toolbar: ping, waves going out from a point.
draw toolbar/ping.png 16 \
    -fill '#1f5fa0' -draw 'circle 24,104 24,88' \
    -fill none -stroke '#1f5fa0' -strokewidth 12 \
    -draw 'arc -20,60 68,148 -90,0' -draw 'arc -52,28 100,180 -90,0' -draw 'arc -84,-4 132,212 -90,0'

# Toolbar: options, a gear.
draw toolbar/options.png 16 \
    -fill '#5c6670' -draw 'circle 64,64 64,22' \
    -stroke '#5c6670' -strokewidth 22 \
    -draw 'line 64,6 64,122' -draw 'line 6,64 122,64' -draw 'line 23,23 105,105' -draw 'line 105,23 23,105' \
    -stroke none -fill none -draw 'circle 64,64 64,50' \
    -fill '#dfe3e6' -draw 'circle 64,64 64,48'

# Toolbar: about, an "i" in a blue disc.
draw toolbar/about.png 16 \
    -fill '#2b6cc4' -draw 'circle 64,64 64,4' \
    -fill white -draw 'circle 64,34 64,22' -draw 'roundrectangle 54,52 74,106 6,6'

# The program's icon: the front of a portico, a pediment on four columns.
draw portico.png 64 \
    -fill '#eae2cf' -stroke '#6b5b3e' -strokewidth 4 \
    -draw 'polygon 8,44 64,10 120,44' \
    -draw 'rectangle 12,48 116,58' \
    -draw 'rectangle 20,62 34,106' -draw 'rectangle 44,62 58,106' \
    -draw 'rectangle 70,62 84,106' -draw 'rectangle 94,62 108,106' \
    -draw 'rectangle 6,108 122,120'
