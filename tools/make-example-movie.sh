#!/usr/bin/env bash
# Makes a movie folder that Veltrane can work on at once: a Compress.ini without a
# backup folder, five numbered 24-bit BMP frames (four of one size with a square
# moving across them, one of another size) and a short sound.
# Usage: make-example-movie.sh <folder>
set -euo pipefail
folder=${1:?usage: make-example-movie.sh <folder>}
mkdir -p "$folder"
printf 'BackupPath=\r\n' >"$folder/Compress.ini"
for i in 0 1 2 3; do
  convert -size 64x48 xc:'rgb(250,245,235)' -fill 'rgb(30,60,200)' \
    -draw "rectangle $((4 + i * 12)),10 $((18 + i * 12)),30" "BMP3:$folder/000$i.bmp"
done
convert -size 40x30 xc:'rgb(200,30,30)' "BMP3:$folder/0004.bmp"
# One second of silence as 8 kHz 8-bit mono PCM: a 44-byte header, 8000 samples.
{
  printf 'RIFF\x64\x1f\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00'
  printf '\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\x40\x1f\x00\x00'
  head -c 8000 /dev/zero | tr '\0' '\200'
} >"$folder/voice.wav"
echo "example movie folder: $folder"
