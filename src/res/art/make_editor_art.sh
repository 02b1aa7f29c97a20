#!/usr/bin/env bash
# Draws the button images of the editing and video toolbars and the video
# frame's icon with ImageMagick. Toolbar strips are 24-bit BMPs of 32 x 32
# images side by side on light grey RGB(192, 192, 192), the key colour the
# program replaces by the button face:
#   edit_tools.bmp      Back, Open, Save, Brightness, Contrast, Sharpness,
#                       Mosaic, Concave-convex, Rotate anticlockwise, Rotate
#                       clockwise, Zoom in, Zoom out, Fit in window, 1:1,
#                       Previous, Next, Print
#   edit_tools_big.bmp  the same, with the five effects and both rotations
#                       greyed (a picture too big to edit)
#   video_tools.bmp     Back, Open, Save, Previous, Next
#   video_frame.ico     a film frame, 16 x 16 and 32 x 32
# The printer is taken from standard_tools.bmp so both toolbars show the same
# one. Run it from anywhere; it writes into its own folder. The outputs are
# committed.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The palette of standard_tools.bmp.
ink='#404040' blue='#3A7AC0' darkblue='#2F5F8F' lightblue='#90B4DC'
paper='#F3F3F3' yellow='#FFE090' deepyellow='#F7D889' brown='#806020'
sun='#FFD24A' ray='#E0A000'
key='#C0C0C0'

# Draws one 32 x 32 image with transparency: draw NAME MVG...
draw() {
  local name=$1
  shift
  convert -size 32x32 xc:none -font DejaVu-Sans-Bold "$@" "$work/$name.png"
}

# Greys an image for a disabled button: low-contrast grey, lighter than the
# enabled art.
grey() {  # in out
  convert "$work/$1.png" -channel RGB -colorspace Gray +level 25%,85% \
    +channel -colorspace sRGB "$work/$2.png"
}

# Puts images on the key colour without half-transparent fringes (they would
# blend into the key and show as a grey halo on other button faces), and keeps
# any drawn pixel off the key colour itself.
flatten() {  # out images...
  local out=$1
  shift
  local parts=()
  for name in "$@"; do
    convert "$work/$name.png" -alpha extract -threshold 50% "$work/$name.mask.png"
    convert "$work/$name.png" -alpha off -fill '#C4C4C4' -opaque "$key" "$work/$name.rgb.png"
    convert -size 32x32 xc:"$key" "$work/$name.rgb.png" "$work/$name.mask.png" -composite \
      "$work/$name.flat.png"
    parts+=("$work/$name.flat.png")
  done
  convert "${parts[@]}" +append -alpha off -type TrueColor "BMP3:$out"
}

# Back to the standard mode: a blue U-turn arrow.
draw back -fill none -stroke "$ink" -strokewidth 8 -draw 'path "M 25,29 L 25,17 Q 25,10 18,10 L 13,10"' \
  -stroke "$ink" -strokewidth 1.5 -fill "$blue" -draw 'polygon 2.5,10 14,1.5 14,18.5' \
  -stroke "$blue" -strokewidth 5 -fill none -draw 'path "M 25,27.5 L 25,17 Q 25,10 18,10 L 12,10"'

# Open: an open folder with a sheet in it.
draw open -stroke "$brown" -strokewidth 1.5 -fill "$deepyellow" \
  -draw 'polygon 3,6 11,6 13,9 25,9 25,27 3,27' \
  -stroke "$ink" -strokewidth 1 -fill white -draw 'rectangle 7,4 21,18' \
  -stroke "$lightblue" -draw 'line 10,8 18,8 line 10,11 18,11 line 10,14 16,14' \
  -stroke "$brown" -strokewidth 1.5 -fill "$yellow" -draw 'polygon 3,27 8,15 30,15 25,27'

# Save: a floppy disk.
draw save -stroke "$ink" -strokewidth 1.5 -fill "$blue" -draw 'path "M 4,4 L 25,4 L 28,7 L 28,28 L 4,28 Z"' \
  -stroke none -fill white -draw 'rectangle 8,5 23,14' \
  -stroke "$lightblue" -strokewidth 1 -draw 'line 10,8 21,8 line 10,11 21,11' \
  -stroke "$ink" -strokewidth 1 -fill "$paper" -draw 'rectangle 10,19 22,28' \
  -stroke none -fill "$darkblue" -draw 'rectangle 17,21 19,26'

# Brightness: a sun.
rays=''
for a in 0 45 90 135 180 225 270 315; do
  rays+=$(awk -v a="$a" 'BEGIN { r = a * 3.14159265 / 180;
    printf "line %.2f,%.2f %.2f,%.2f ", 16 + 10 * cos(r), 16 + 10 * sin(r), 16 + 14 * cos(r), 16 + 14 * sin(r) }')
done
draw brightness -stroke "$ray" -strokewidth 2.5 -draw "stroke-linecap round $rays" \
  -stroke "$brown" -strokewidth 1.5 -fill "$sun" -draw 'circle 16,16 16,8.5'

# Contrast: a disc half white, half dark.
draw contrast -stroke "$ink" -strokewidth 2 -fill white -draw 'circle 16,16 16,4' \
  -stroke none -fill "$ink" -draw 'path "M 16,4 A 12,12 0 0 1 16,28 Z"'

# Sharpness: a four-pointed star with fine points.
draw sharpness -stroke "$ink" -strokewidth 1.5 -fill "$blue" \
  -draw 'polygon 16,2 20,12 30,16 20,20 16,30 12,20 2,16 12,12' \
  -stroke none -fill white -draw 'polygon 16,6 17.5,14.5 16,16 14.5,14.5'

# Mosaic: a grid of coloured tiles.
tiles=''
colours=("$blue" "$lightblue" "$darkblue" white "$lightblue" "$yellow" "$blue" "$lightblue"
  "$darkblue" "$blue" white "$blue" white "$lightblue" "$darkblue" "$yellow")
for i in $(seq 0 15); do
  x=$((4 + (i % 4) * 6)) y=$((4 + (i / 4) * 6))
  tiles+="fill ${colours[$i]} rectangle $x,$y $((x + 5)),$((y + 5)) "
done
draw mosaic -stroke none -draw "$tiles" -stroke "$ink" -strokewidth 1.5 -fill none \
  -draw 'rectangle 3.5,3.5 28.5,28.5'

# Concave-convex: a bulging ball with a grid on it.
draw concave -stroke "$ink" -strokewidth 1.5 -fill "$blue" -draw 'circle 16,16 16,3.5' \
  -stroke "$lightblue" -strokewidth 1 -fill none \
  -draw 'ellipse 16,16 6,12 0,360 ellipse 16,16 12,5 0,360 line 16,4 16,28 line 4,16 28,16' \
  -stroke none -fill white -draw 'ellipse 11,10 3,2 0,360'

# Rotation: a blue arc with its head pointing down on the right; the
# anticlockwise one is its mirror image.
# (drawn as short segments: this ImageMagick closes a stroked polyline or arc)
arc="stroke-linecap round $(awk 'BEGIN { for (a = 140; a < 360; a += 10) {
  r = a * 3.14159265 / 180; s = r + 10 * 3.14159265 / 180
  printf "line %.2f,%.2f %.2f,%.2f ", 16 + 10 * cos(r), 18 + 10 * sin(r), 16 + 10 * cos(s), 18 + 10 * sin(s) } }')"
draw rotate_cw -fill none -stroke "$ink" -strokewidth 7 -draw "$arc" \
  -stroke "$ink" -strokewidth 1.5 -fill "$blue" -draw 'polygon 20,17.5 32,17.5 26,26' \
  -fill none -stroke "$blue" -strokewidth 4 -draw "$arc"
convert "$work/rotate_cw.png" -flop "$work/rotate_ccw.png"

# Zoom: a magnifier with a plus or a minus.
lens=(-stroke "$ink" -strokewidth 5 -draw 'stroke-linecap round line 21,21 28,28'
  -strokewidth 2.5 -fill white -draw 'circle 13,13 13,4')
draw zoom_in "${lens[@]}" -stroke "$blue" -strokewidth 2.5 -draw 'line 8.5,13 17.5,13 line 13,8.5 13,17.5'
draw zoom_out "${lens[@]}" -stroke "$blue" -strokewidth 2.5 -draw 'line 8.5,13 17.5,13'

# Fit in window: a window whose corners the picture reaches.
draw fit -stroke "$ink" -strokewidth 1.5 -fill white -draw 'rectangle 3,4 28,27' \
  -stroke none -fill "$blue" -draw 'rectangle 4,5 27,8' \
  -draw 'polygon 6,11 12,11 6,17 polygon 25,11 19,11 25,17 polygon 6,25 12,25 6,19 polygon 25,25 19,25 25,19' \
  -fill "$lightblue" -draw 'rectangle 12,15 19,21'

# 1:1: the ratio on a card.
draw one_to_one -stroke "$ink" -strokewidth 1.5 -fill white -draw 'rectangle 2,6 29,26' \
  -stroke none -fill "$blue" -pointsize 14 -gravity center -annotate +0+0 '1:1'

# Previous and next picture: a white triangle on a blue disc.
draw prev -stroke "$ink" -strokewidth 1.5 -fill "$blue" -draw 'circle 16,16 16,3.5' \
  -stroke none -fill white -draw 'polygon 9,16 20,9 20,23'
convert "$work/prev.png" -flop "$work/next.png"

# Previous and next video: skip marks.
draw video_prev -stroke "$ink" -strokewidth 1.5 -fill "$blue" \
  -draw 'rectangle 4,7 9,25 polygon 28,6 10,16 28,26'
convert "$work/video_prev.png" -flop "$work/video_next.png"

# The printer of the standard toolbar (its eighth image).
convert standard_tools.bmp -crop 32x32+224+0 +repage -transparent "$key" "$work/print.png"

for name in brightness contrast sharpness mosaic concave rotate_ccw rotate_cw; do
  grey "$name" "${name}_off"
done

flatten edit_tools.bmp back open save brightness contrast sharpness mosaic concave \
  rotate_ccw rotate_cw zoom_in zoom_out fit one_to_one prev next print
flatten edit_tools_big.bmp back open save brightness_off contrast_off sharpness_off mosaic_off \
  concave_off rotate_ccw_off rotate_cw_off zoom_in zoom_out fit one_to_one prev next print
flatten video_tools.bmp back open save video_prev video_next

# The video frame's icon: a strip of film with a blue frame and a play mark.
convert -size 32x32 xc:none -stroke none -fill '#303030' -draw 'roundrectangle 1,5 30,26 2,2' \
  -fill '#E8E8E8' -draw "$(for x in 4 9 14 19 24; do printf 'rectangle %d,7 %d,9 rectangle %d,22 %d,24 ' $x $((x + 2)) $x $((x + 2)); done)" \
  -fill "$blue" -draw 'rectangle 4,11 27,20' -fill white -draw 'polygon 13,12 13,19 19,15.5' \
  "$work/frame32.png"
convert -size 16x16 xc:none -stroke none -fill '#303030' -draw 'rectangle 0,2 15,13' \
  -fill '#E8E8E8' -draw 'point 2,3 point 5,3 point 8,3 point 11,3 point 14,3 point 2,12 point 5,12 point 8,12 point 11,12 point 14,12' \
  -fill "$blue" -draw 'rectangle 1,5 14,10' -fill white -draw 'polygon 6,6 6,9 9,7.5' \
  "$work/frame16.png"
convert "$work/frame16.png" "$work/frame32.png" video_frame.ico
