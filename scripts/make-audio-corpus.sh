#!/usr/bin/env bash
# Makes a corpus of about 50 MP3 files with lame and ffmpeg for the play-time accuracy check.
# Usage: scripts/make-audio-corpus.sh OUTDIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
# sound NAME SECONDS RATE CHANNELS [noise]: a WAV of a sine tone (or pink noise) in the temp folder
sound() {
  local src="sine=frequency=440:duration=$2:sample_rate=$3"
  [ "${5:-}" = noise ] && src="anoisesrc=color=pink:duration=$2:sample_rate=$3:amplitude=0.3:seed=$3$2"
  ff -f lavfi -i "$src" -ac "$4" "$tmp/$1.wav"
}
enc() { lame --quiet "$@"; }

sound s44 20 44100 2
sound n44 20 44100 2 noise
sound m44 15 44100 1 noise
sound s22 12 22050 2 noise
sound s24 12 24000 2
sound s16 12 16000 1 noise
sound s11 12 11025 1 noise
sound s12 12 12000 2
sound s8 12 8000 1 noise
sound s48 10 48000 2 noise
sound s32 10 32000 2

# Constant bit rate at several rates (lame writes an Info header; --nohist keeps output plain).
for b in 32 64 96 128 160 192 256 320; do enc -b "$b" "$tmp/n44.wav" "$out/cbr_${b}k_44k.mp3"; done
enc -b 128 -t "$tmp/n44.wav" "$out/cbr_128k_44k_noinfo.mp3"
enc -b 128 "$tmp/s48.wav" "$out/cbr_128k_48k.mp3"
enc -b 96 "$tmp/s32.wav" "$out/cbr_96k_32k.mp3"
# Variable bit rate with the Xing header, and without it (-t).
for q in 0 2 5 9; do enc -V "$q" "$tmp/n44.wav" "$out/vbr_V${q}_44k.mp3"; done
enc -V 4 "$tmp/s44.wav" "$out/vbr_V4_44k_sine.mp3"
enc -V 2 -t "$tmp/n44.wav" "$out/vbr_V2_44k_noxing.mp3"
enc -V 6 -t "$tmp/n44.wav" "$out/vbr_V6_44k_noxing.mp3"
enc --abr 112 "$tmp/n44.wav" "$out/abr_112k_44k.mp3"
# Mono.
enc -m m -b 64 "$tmp/m44.wav" "$out/cbr_64k_44k_mono.mp3"
enc -m m -V 4 "$tmp/m44.wav" "$out/vbr_V4_44k_mono.mp3"
enc -m m -V 4 -t "$tmp/m44.wav" "$out/vbr_V4_44k_mono_noxing.mp3"
# MPEG-2 (22.05, 24, 16 kHz) and MPEG-2.5 (11.025, 12, 8 kHz), CBR and VBR.
for r in 22 24 16 11 12 8; do
  enc -b 32 "$tmp/s$r.wav" "$out/cbr_32k_${r}k.mp3"
  enc -V 5 "$tmp/s$r.wav" "$out/vbr_V5_${r}k.mp3"
done
enc -V 5 -t "$tmp/s22.wav" "$out/vbr_V5_22k_noxing.mp3"
enc -b 8 "$tmp/s8.wav" "$out/cbr_8k_8k.mp3"
# MPEG-2 Layer II from ffmpeg's own encoder.
ff -i "$tmp/s22.wav" -c:a mp2 -b:a 64k -f mp2 "$out/mp2_64k_22k.mp3"
ff -i "$tmp/s44.wav" -c:a mp2 -b:a 192k -f mp2 "$out/mp2_192k_44k.mp3"
# ffmpeg's muxer (libmp3lame) with its own Xing header.
ff -i "$tmp/n44.wav" -c:a libmp3lame -q:a 4 "$out/ffmpeg_vbr_q4_44k.mp3"
ff -i "$tmp/n44.wav" -c:a libmp3lame -b:a 160k "$out/ffmpeg_cbr_160k_44k.mp3"

# Tags: ID3v1 only, small ID3v2, ID3v2 with UTF-16 text, ID3v2 with a large picture, both.
ff -f lavfi -i "mandelbrot=size=800x600" -frames:v 1 "$tmp/cover.png"
ff -f lavfi -i "cellauto=size=640x480:rule=110:seed=110" -frames:v 1 -q:v 2 "$tmp/cover.jpg"
tags=(--tt "Track title" --ta "Artist" --tl "Album" --ty 2004 --tn 3 --tg Rock)
enc -b 128 --id3v1-only "${tags[@]}" "$tmp/n44.wav" "$out/tag_v1_cbr128.mp3"
enc -V 4 --id3v1-only "${tags[@]}" "$tmp/n44.wav" "$out/tag_v1_vbr.mp3"
enc -b 128 --id3v2-only "${tags[@]}" "$tmp/n44.wav" "$out/tag_v2_small_cbr128.mp3"
enc -V 4 --id3v2-only --id3v2-utf16 --tt "Заголовок" --ta "Исполнитель" "$tmp/n44.wav" "$out/tag_v2_utf16_vbr.mp3"
enc -V 4 --add-id3v2 --ti "$tmp/cover.png" "${tags[@]}" "$tmp/n44.wav" "$out/tag_v2_png_v1_vbr.mp3"
enc -b 128 --id3v2-only --ti "$tmp/cover.png" "${tags[@]}" "$tmp/n44.wav" "$out/tag_v2_png_cbr128.mp3"
enc -V 2 -t --id3v2-only --ti "$tmp/cover.jpg" "$tmp/n44.wav" "$out/tag_v2_jpg_vbr_noxing.mp3"
ff -i "$tmp/n44.wav" -i "$tmp/cover.png" -map 0:a -map 1:v -c:a libmp3lame -b:a 128k -c:v copy \
  -id3v2_version 3 -metadata title="Title" -metadata:s:v comment="Cover (front)" "$out/tag_ffmpeg_v23_png_cbr128.mp3"
ff -i "$tmp/n44.wav" -c:a libmp3lame -q:a 2 -id3v2_version 4 -write_id3v1 1 -metadata title="Заголовок" \
  -metadata artist="Artist" "$out/tag_ffmpeg_v24_v1_vbr.mp3"

# Truncated downloads: a Xing file and a CBR file cut to 60%, a tagged Xing file to 95%.
cut_to() { head -c "$(( $(stat -c %s "$1") * $3 / 100 ))" "$1" > "$2"; }
cut_to "$out/vbr_V2_44k.mp3" "$out/trunc_vbr_V2_44k.mp3" 60
cut_to "$out/cbr_128k_44k.mp3" "$out/trunc_cbr_128k_44k.mp3" 60
cut_to "$out/tag_v2_png_v1_vbr.mp3" "$out/trunc_tag_v2_png_vbr.mp3" 95

# Over an hour, kept small by a low rate (MPEG-2.5, 8 kbit/s) and VBR at MPEG-2.
ff -f lavfi -i "anoisesrc=color=pink:duration=3900:sample_rate=8000:amplitude=0.2:seed=3900" -ac 1 "$tmp/long.wav"
enc -b 8 "$tmp/long.wav" "$out/long_65min_cbr_8k.mp3"
enc -V 9 --resample 16 "$tmp/long.wav" "$out/long_65min_vbr_16k.mp3"

ls "$out"/*.mp3 | wc -l
