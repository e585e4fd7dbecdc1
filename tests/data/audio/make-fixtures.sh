#!/usr/bin/env bash
# Remakes the small MP3 fixtures of the audio tests (Debian's lame 3.100 and ffmpeg 5.1).
# The files are committed; run this only to change them, then check the tests' expected values.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
noise() { ff -f lavfi -i "anoisesrc=color=pink:duration=$2:sample_rate=$3:amplitude=0.3:seed=7" -ac "$4" "$tmp/$1.wav"; }

noise n44 4 44100 2
noise m44 4 44100 1
noise n22 4 22050 2
noise n11 4 11025 1
noise n8 4 8000 1

lame --quiet -b 64 --resample 44.1 "$tmp/n44.wav" cbr64_44k_info.mp3         # MPEG-1 Layer III with an Info header
lame --quiet -V 6 "$tmp/n44.wav" vbr_44k_xing.mp3             # Xing header, stereo (offset 36)
lame --quiet -V 6 "$tmp/m44.wav" vbr_44k_mono_xing.mp3        # Xing header, mono (offset 21)
lame --quiet -V 6 -t "$tmp/n44.wav" vbr_44k_noxing.mp3        # no Xing header
lame --quiet -V 6 "$tmp/n22.wav" vbr_22k_xing.mp3             # MPEG-2 Layer III, 576 samples a frame
lame --quiet -V 6 "$tmp/n11.wav" vbr_11k_xing.mp3             # MPEG-2.5 at 11025 Hz
lame --quiet -b 8 "$tmp/n8.wav" cbr8_8k.mp3                   # MPEG-2.5 at 8000 Hz
ff -i "$tmp/n22.wav" -c:a mp2 -b:a 32k -f mp2 mp2_32k_22k.mp3 # MPEG-2 Layer II
# An ID3v2 tag of about 25 KB with UTF-16 text and a picture, then an ID3v1 tag.
ff -f lavfi -i "cellauto=size=200x150:rule=30:seed=7" -frames:v 1 -q:v 1 "$tmp/cover.jpg"
lame --quiet -V 6 --add-id3v2 --id3v2-utf16 --ti "$tmp/cover.jpg" --tt "Заголовок" --ta "Artist" \
  --tn 3 "$tmp/n44.wav" id3v2_picture_vbr.mp3
# The same audio and picture under an ID3v2.4 tag in UTF-8 with a replay gain frame, and no ID3v1 tag.
ff -i id3v2_picture_vbr.mp3 -map 0 -c copy -id3v2_version 4 -metadata title="Заголовок 4" \
  -metadata REPLAYGAIN_TRACK_GAIN="-6.50 dB" id3v2_4_picture_vbr.mp3
# A download cut short: the Xing header counts more bytes than the file holds.
head -c "$(( $(stat -c %s vbr_44k_xing.mp3) * 6 / 10 ))" vbr_44k_xing.mp3 > truncated_vbr.mp3

for f in *.mp3; do
  t=$(ffmpeg -hide_banner -nostdin -i "$f" -f null - 2>&1 | tr '\r' '\n' | grep -o 'time=[0-9:.]*' | tail -1)
  printf '%-26s %7d bytes  ffmpeg decodes %s\n' "$f" "$(stat -c %s "$f")" "${t#time=}"
done
