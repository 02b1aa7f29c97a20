#!/usr/bin/env bash
# Draws the animation that covers the Record button while a clip records
# (144 x 44: a red dot that pulses beside "REC", and a stop square) and packs
# its four frames into an uncompressed 8-bit AVI, the kind the animation
# control plays. Needs ImageMagick and python3; writes recording.avi into its
# own folder. The output is committed.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=DejaVu-Sans-Bold

i=0
for dot in '#FF2A2A' '#C81E1E' '#7A1A1A' '#C81E1E'; do
  convert -size 144x44 xc:'#F0F0F0' \
    \( -size 144x44 gradient:'#444B55-#1D2127' \) \
    \( -size 144x44 xc:black -fill white -draw 'roundrectangle 0,0 143,43 9,9' \) \
    -composite \
    -fill "$dot" -stroke '#1D2127' -strokewidth 1 -draw 'circle 24,22 24,12' \
    -stroke none -font "$font" -pointsize 20 -fill white -annotate +44+30 'REC' \
    -fill '#E8E8E8' -draw 'roundrectangle 108,13 125,30 3,3' \
    "$work/frame$i.png"
  i=$((i + 1))
done
# One palette for all frames: quantize them side by side, then cut apart.
convert "$work"/frame0.png "$work"/frame1.png "$work"/frame2.png "$work"/frame3.png +append \
  +dither -colors 240 -depth 8 "$work/strip.ppm"
python3 - "$work/strip.ppm" recording.avi <<'PY'
import struct, sys

def read_ppm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b'P6'
    return int(fields[1]), int(fields[2]), data[pos + 1:]

width, height, rgb = read_ppm(sys.argv[1])
frames, fw = 4, width // 4
colours = {}
for i in range(0, len(rgb), 3):
    colours.setdefault(rgb[i:i + 3], len(colours))
assert len(colours) <= 256
palette = b''.join(bytes((c[2], c[1], c[0], 0)) for c in colours) + b'\0' * 4 * (256 - len(colours))
stride = (fw + 3) & ~3
images = []
for f in range(frames):
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytes(colours[rgb[3 * (y * width + f * fw + x):3 * (y * width + f * fw + x) + 3]]
                    for x in range(fw))
        rows.append(row + b'\0' * (stride - fw))
    images.append(b''.join(rows))
size = stride * height

def chunk(fourcc, body):
    return fourcc + struct.pack('<I', len(body)) + body + (b'\0' if len(body) & 1 else b'')

def lst(kind, body):
    return chunk(b'LIST', kind + body)

rate = 4
avih = struct.pack('<IIIIIIIIII4I', 1000000 // rate, size * rate, 0, 0x10, frames, 0, 1, size,
                   fw, height, 0, 0, 0, 0)
strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0, 1, rate, 0, frames,
                   size, 0xFFFFFFFF, 0, 0, 0, fw, height)
strf = struct.pack('<IiiHHIIiiII', 40, fw, height, 1, 8, 0, size, 0, 0, 256, 0) + palette
hdrl = lst(b'hdrl', chunk(b'avih', avih) + lst(b'strl', chunk(b'strh', strh) + chunk(b'strf', strf)))
movi_body, index, offset = b'', b'', 4
for image in images:
    c = chunk(b'00db', image)
    index += struct.pack('<4sIII', b'00db', 0x10, offset, len(image))
    offset += len(c)
    movi_body += c
riff = b'AVI ' + hdrl + lst(b'movi', movi_body) + chunk(b'idx1', index)
open(sys.argv[2], 'wb').write(b'RIFF' + struct.pack('<I', len(riff)) + riff)
PY
