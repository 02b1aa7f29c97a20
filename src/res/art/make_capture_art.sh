#!/usr/bin/env bash
# Draws the capture window's bitmaps with ImageMagick: the Image and Video
# button faces (150 x 50, English and both Chinese languages; pure green
# 0x00FF00 marks where the button face colour shows), the Settings button
# (30 x 30) and the countdown digits 0 to 9 (48 x 64). Run it from anywhere;
# it writes into its own folder. The outputs are committed.
set -euo pipefail
cd "$(dirname "$0")"
latin=DejaVu-Sans-Bold
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# A 150 x 50 face: a rounded blue plate on green, an icon at the left and a
# label beside it.
face() {  # out label font pointsize icon-draw
  local out=$1 label=$2 font=$3 size=$4 icon=$5
  convert -size 150x50 xc:'#00FF00' \
    \( -size 146x46 gradient:'#4A8BE0-#1F4C98' \) -geometry +2+2 \
    \( -size 150x50 xc:black +antialias -fill white -draw 'roundrectangle 2,2 147,47 11,11' \) \
    -compose over -composite \
    +antialias -fill none -stroke '#163A78' -strokewidth 1 -draw 'roundrectangle 2,2 147,47 11,11' \
    -antialias -stroke none -fill white -draw "$icon" \
    -font "$font" -pointsize "$size" -fill white -gravity West -annotate +56+0 "$label" \
    -alpha off -type TrueColor "BMP3:$out"
}
camera='roundrectangle 12,16 46,40 4,4 rectangle 20,12 30,17 fill #2A5CAB circle 29,28 29,20 fill white circle 29,28 29,24'
camcorder='roundrectangle 10,16 36,38 4,4 polygon 36,23 48,16 48,38 36,31 fill #2A5CAB circle 19,27 19,22 fill white circle 19,27 19,25'

face face_image_en.bmp Image "$latin" 19 "$camera"
face face_video_en.bmp Video "$latin" 19 "$camcorder"
face face_image_zh_tw.bmp 拍照 "$cjk" 21 "$camera"
face face_video_zh_tw.bmp 錄影 "$cjk" 21 "$camcorder"
face face_image_zh_cn.bmp 拍照 "$cjk" 21 "$camera"
face face_video_zh_cn.bmp 录像 "$cjk" 21 "$camcorder"

# Settings: a gear on a light grey ground.
convert -size 30x30 xc:'#F0F0F0' -fill '#4E5866' \
  -draw 'translate 15,15 rotate 0 rectangle -2.5,-12 2.5,12' \
  -draw 'translate 15,15 rotate 45 rectangle -2.5,-12 2.5,12' \
  -draw 'translate 15,15 rotate 90 rectangle -2.5,-12 2.5,12' \
  -draw 'translate 15,15 rotate 135 rectangle -2.5,-12 2.5,12' \
  -draw 'circle 15,15 15,6' -fill '#F0F0F0' -draw 'circle 15,15 15,11' \
  -alpha off -type TrueColor BMP3:settings_button.bmp

# Countdown digits: white on a dark rounded tile.
for d in 0 1 2 3 4 5 6 7 8 9; do
  convert -size 48x64 xc:'#F0F0F0' -fill '#26303C' -draw 'roundrectangle 0,0 47,63 8,8' \
    -font "$latin" -pointsize 52 -fill '#FFD24A' -gravity Center -annotate +0+0 "$d" \
    -alpha off -type TrueColor "BMP3:countdown_digit_$d.bmp"
done

# Duration arrows of the clip settings (16 x 9): a dark triangle on the
# button face grey, pointing up and down.
convert -size 16x9 xc:'#F0F0F0' -fill '#26303C' -draw 'polygon 3,7 12,7 7.5,1' \
  -alpha off -type TrueColor BMP3:duration_up.bmp
convert -size 16x9 xc:'#F0F0F0' -fill '#26303C' -draw 'polygon 3,1 12,1 7.5,7' \
  -alpha off -type TrueColor BMP3:duration_down.bmp
