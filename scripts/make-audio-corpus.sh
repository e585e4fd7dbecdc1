#!/usr/bin/env bash
# Makes MP3 files with lame and ffmpeg for the play-time accuracy check, and OUTDIR/lengths.tsv with
# the length in milliseconds that ffmpeg decodes from each (for a file with junk in front, from its
# audio before the junk was put there); and a mixed set of the other formats made by ffmpeg in
# OUTDIR/formats, with its own lengths.tsv.
# --small makes only the cases that a first-frame guess gets wrong (junk in front of the audio,
# variable bit rate without a header, a VBRI header), short and at low rates, and the mixed set at a
# few seconds each: the test fixtures in tests/data/audio/corpus.
# Usage: scripts/make-audio-corpus.sh [--small] OUTDIR
set -euo pipefail
small=0
[ "${1:-}" = --small ] && { small=1; shift; }
[ $# -eq 1 ] || { echo "usage: $0 [--small] OUTDIR" >&2; exit 2; }
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
declare -A reference # file name -> the file whose decoded length stands for it

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
# sound NAME SECONDS RATE CHANNELS [noise]: a WAV of a sine tone (or pink noise) in the temp folder
sound() {
  local src="sine=frequency=440:duration=$2:sample_rate=$3"
  [ "${5:-}" = noise ] && src="anoisesrc=color=pink:duration=$2:sample_rate=$3:amplitude=0.3:seed=$3$2"
  ff -f lavfi -i "$src" -ac "$4" "$tmp/$1.wav"
}
enc() { lame --quiet "$@"; }
# junk SEED BYTES: seeded random bytes, the same on every run
junk() { perl -e 'srand($ARGV[0]); print pack("C*", map { int rand 256 } 1 .. $ARGV[1])' "$1" "$2"; }
# prefix OUT SOURCE PART...: OUT is the parts (files) followed by SOURCE, timed by SOURCE's audio
prefix() {
  local to=$1 from=$2
  shift 2
  cat "$@" "$from" > "$to"
  reference[$(basename "$to")]=$from
}
# bad_id3 SEED BYTES: an ID3v2 header whose size is not synchsafe, so no reader takes it as a tag,
# and its body of seeded junk
bad_id3() {
  perl -e 'my @s = unpack("C4", pack("N", $ARGV[0])); $s[3] |= 0x80; print "ID3\x03\x00\x00", pack("C4", @s)' "$2"
  junk "$1" "$2"
}
# vbri IN OUT: moves the frame count and byte count of lame's Xing header into a VBRI header, as
# the Fraunhofer encoders write it (32 bytes after the frame header), and blanks the Xing header.
vbri() {
  perl -e '
    local $/; open(my $in, "<:raw", $ARGV[0]) or die; my $d = <$in>;
    my $x = index(substr($d, 0, 64), "Xing"); die "no Xing header in $ARGV[0]\n" if $x < 0;
    my ($flags, $frames, $bytes) = unpack("N3", substr($d, $x + 4, 12));
    die "Xing header without counts\n" if ($flags & 3) != 3;
    substr($d, $x, 156) = "\0" x 156;
    substr($d, 36, 26) = "VBRI" . pack("n3 N2 n4", 1, 1105, 75, $bytes, $frames, 0, 1, 2, 0);
    open(my $out, ">:raw", $ARGV[1]) or die; print $out $d;' "$1" "$2"
}
# ape_v1 IN OUT: IN followed by an APEv2 tag (header, one item, footer) and an ID3v1 tag
ape_v1() {
  perl -e '
    local $/; open(my $in, "<:raw", $ARGV[0]) or die; my $d = <$in>;
    my $item = pack("V2", 6, 0) . "Title\0" . "Corpus";
    my $ape = sub { "APETAGEX" . pack("V4", 2000, length($item) + 32, 1, $_[0]) . "\0" x 8 };
    $d .= $ape->(0xA0000000) . $item . $ape->(0x80000000);
    $d .= pack("a3 a30 a30 a30 a4 a30 C", "TAG", "Title", "Artist", "Album", "2004", "", 17);
    open(my $out, ">:raw", $ARGV[1]) or die; print $out $d;' "$1" "$2"
}
cut_to() { head -c "$(( $(stat -c %s "$1") * $3 / 100 ))" "$1" > "$2"; }

# The same cases in both sets; the full set holds longer sound at the usual rates.
if [ $small = 1 ]; then
  len=3 junkBytes=12000
  sound a44 $len 32000 1 noise # MPEG-1 at 32 kHz keeps the files small
else
  len=20 junkBytes=20480
  sound a44 $len 44100 2 noise
fi
sound a22 $len 22050 1 noise
sound a24 $len 24000 1 noise
sound a16 $len 16000 1 noise
sound a11 $len 11025 1 noise
sound a8 $len 8000 1 noise

# Variable bit rate without a header (-t), at MPEG-1, MPEG-2 and MPEG-2.5 rates.
enc -V 9 -t "$tmp/a44.wav" "$out/vbr_V9_mpeg1_noxing.mp3"
for r in 22 24 16; do enc -V 7 -t "$tmp/a$r.wav" "$out/vbr_V7_${r}k_noxing.mp3"; done
for r in 11 8; do enc -V 5 -t "$tmp/a$r.wav" "$out/vbr_V5_${r}k_noxing.mp3"; done
enc --abr 40 -t "$tmp/a22.wav" "$out/abr_40k_22k_noxing.mp3"
# The same cut in the middle of a frame, and followed by an APEv2 and an ID3v1 tag.
cut_to "$out/vbr_V7_22k_noxing.mp3" "$out/trunc_vbr_V7_22k_noxing.mp3" 70
ape_v1 "$out/vbr_V7_24k_noxing.mp3" "$out/ape_v1_vbr_V7_24k_noxing.mp3"
# A VBRI header instead of a Xing header.
enc -V 9 "$tmp/a44.wav" "$tmp/xing44.mp3"
vbri "$tmp/xing44.mp3" "$out/vbri_V9_mpeg1.mp3"
enc -V 7 "$tmp/a22.wav" "$tmp/xing22.mp3"
vbri "$tmp/xing22.mp3" "$out/vbri_V7_22k.mp3"
# Junk in front of the audio: random bytes, and a damaged ID3v2 tag, before constant, Xing and
# headerless variable-rate streams.
junk 1 $junkBytes > "$tmp/junk1"
bad_id3 2 $junkBytes > "$tmp/badid3"
enc -b 8 "$tmp/a8.wav" "$tmp/cbr8.mp3"
prefix "$out/junk_cbr_8k_8k.mp3" "$tmp/cbr8.mp3" "$tmp/junk1"
prefix "$out/junk_badid3_xing_22k.mp3" "$tmp/xing22.mp3" "$tmp/badid3"
prefix "$out/junk_vbr_V5_11k.mp3" "$out/vbr_V5_11k_noxing.mp3" "$tmp/junk1"

if [ $small = 0 ]; then
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
  enc -V 4 -t "$tmp/s44.wav" "$out/vbr_V4_44k_sine_noxing.mp3"
  enc -V 2 -t "$tmp/s48.wav" "$out/vbr_V2_48k_noxing.mp3"
  enc -V 9 -t "$tmp/s12.wav" "$out/vbr_V9_12k_sine_noxing.mp3"
  enc --abr 112 "$tmp/n44.wav" "$out/abr_112k_44k.mp3"
  enc --abr 112 -t "$tmp/n44.wav" "$out/abr_112k_44k_noxing.mp3"
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
  enc -V 2 -t --id3v1-only "${tags[@]}" "$tmp/n44.wav" "$out/tag_v1_vbr_noxing.mp3"
  ff -i "$tmp/n44.wav" -i "$tmp/cover.png" -map 0:a -map 1:v -c:a libmp3lame -b:a 128k -c:v copy \
    -id3v2_version 3 -metadata title="Title" -metadata:s:v comment="Cover (front)" "$out/tag_ffmpeg_v23_png_cbr128.mp3"
  ff -i "$tmp/n44.wav" -c:a libmp3lame -q:a 2 -id3v2_version 4 -write_id3v1 1 -metadata title="Заголовок" \
    -metadata artist="Artist" "$out/tag_ffmpeg_v24_v1_vbr.mp3"

  # More junk in front: a damaged tag holding a real picture, and 2 MB of random bytes.
  perl -e 'my @s = unpack("C4", pack("N", -s $ARGV[0])); $s[3] |= 0x80; print "ID3\x03\x00\x00", pack("C4", @s)' \
    "$tmp/cover.png" > "$tmp/badid3png"
  prefix "$out/junk_badid3_png_cbr128.mp3" "$out/tag_v1_cbr128.mp3" "$tmp/badid3png" "$tmp/cover.png"
  junk 3 $((2 * 1024 * 1024)) > "$tmp/junk2m"
  prefix "$out/junk_2m_vbr_V2_44k.mp3" "$out/vbr_V2_44k_noxing.mp3" "$tmp/junk2m"

  # Truncated downloads: a Xing file and a CBR file cut to 60%, a tagged Xing file to 95%.
  cut_to "$out/vbr_V2_44k.mp3" "$out/trunc_vbr_V2_44k.mp3" 60
  cut_to "$out/cbr_128k_44k.mp3" "$out/trunc_cbr_128k_44k.mp3" 60
  cut_to "$out/tag_v2_png_v1_vbr.mp3" "$out/trunc_tag_v2_png_vbr.mp3" 95

  # Over an hour, kept small by a low rate (MPEG-2.5, 8 kbit/s) and VBR at MPEG-2, with and without
  # the Xing header.
  ff -f lavfi -i "anoisesrc=color=pink:duration=3900:sample_rate=8000:amplitude=0.2:seed=3900" -ac 1 "$tmp/long.wav"
  enc -b 8 "$tmp/long.wav" "$out/long_65min_cbr_8k.mp3"
  enc -V 9 --resample 16 "$tmp/long.wav" "$out/long_65min_vbr_16k.mp3"
  enc -V 9 -t --resample 16 "$tmp/long.wav" "$out/long_65min_vbr_16k_noxing.mp3"
fi

# The mixed set: every format the program times besides MP3, constant and variable rate where the
# format has both, at lengths that end between two seconds. The small set has one length only.
fmt=$out/formats
mkdir -p "$fmt"
if [ $small = 1 ]; then
  lengths="short" main=short short=2.6 rate=8000 ch=1 vbr=24k cbr=16k pic=80x80
else
  lengths="short long" main=long short=4.7 long=241.3 rate=44100 ch=2 vbr=96k cbr=64k pic=680x620
fi
for n in $lengths; do
  # a tone over pink noise, something for every coder to do
  ff -f lavfi -i "sine=frequency=330:beep_factor=3:duration=${!n}:sample_rate=$rate" \
    -f lavfi -i "anoisesrc=color=pink:duration=${!n}:sample_rate=$rate:amplitude=0.05:seed=7" \
    -filter_complex amix=inputs=2:duration=first -ac $ch "$tmp/$n.wav"
  ff -i "$tmp/$n.wav" -c:a flac "$fmt/flac_$n.flac"
  ff -i "$tmp/$n.wav" -c:a libvorbis -q:a 4 "$fmt/vorbis_q4_$n.ogg"
  ff -i "$tmp/$n.wav" -c:a libopus -b:a $vbr "$fmt/opus_vbr_$n.opus"
  ff -i "$tmp/$n.wav" -c:a aac -b:a $vbr "$fmt/aac_cbr_$n.m4a"
  ff -i "$tmp/$n.wav" -c:a alac "$fmt/alac_$n.m4a"
  ff -i "$tmp/$n.wav" -c:a pcm_s16le "$fmt/wav_s16_$n.wav"
  ff -i "$tmp/$n.wav" -c:a pcm_s16be "$fmt/aiff_$n.aiff"
  ff -i "$tmp/$n.wav" -c:a wavpack "$fmt/wavpack_$n.wv"
  ff -i "$tmp/$n.wav" -c:a wmav2 -b:a $vbr "$fmt/wma_$n.wma"
done
src=$tmp/$main.wav
# Constant rate where the coder also has a variable one, and the MP4 index in front of the audio.
ff -i "$src" -c:a libvorbis -b:a $cbr -minrate $cbr -maxrate $cbr "$fmt/vorbis_cbr_$main.ogg"
ff -i "$src" -c:a libopus -b:a $cbr -vbr off "$fmt/opus_cbr_$main.opus"
ff -i "$src" -c:a aac -q:a 2 "$fmt/aac_vbr_q2_$main.m4a"
ff -i "$tmp/short.wav" -c:a aac -b:a $cbr -movflags +faststart "$fmt/aac_faststart_short.m4a"
# A pre-skip other than libopus' usual 312 samples (120 in low-delay mode).
ff -i "$tmp/short.wav" -c:a libopus -b:a $vbr -application lowdelay "$fmt/opus_preskip120_short.opus"
# Other sample formats and codecs inside WAV, and the other Ogg codecs.
[ $small = 1 ] || ff -i "$tmp/short.wav" -c:a pcm_f32le "$fmt/wav_float_short.wav"
ff -i "$tmp/short.wav" -c:a pcm_s24le "$fmt/wav_s24_extensible_short.wav"
ff -i "$tmp/short.wav" -c:a adpcm_ms "$fmt/wav_adpcm_short.wav"
ff -i "$tmp/short.wav" -c:a libmp3lame -b:a $cbr "$fmt/wav_mp3_short.wav"
ff -i "$tmp/short.wav" -c:a flac -f ogg "$fmt/oggflac_short.oga"
ff -i "$tmp/short.wav" -ar 16000 -ac 1 -c:a libspeex "$fmt/speex_short.spx"
ff -i "$tmp/short.wav" -c:a tta "$fmt/tta_short.tta"
# A FLAC file with a cover picture of about 1 MB (in the small set 20 KB) in front of the audio.
ff -f lavfi -i "nullsrc=s=$pic,geq=random(1)*255:random(2)*255:random(3)*255" -frames:v 1 "$tmp/noise.png"
ff -i "$src" -i "$tmp/noise.png" -map 0:a -map 1:v -c:a flac -c:v copy -disposition:v attached_pic \
  "$fmt/flac_picture_$main.flac"
# Cut downloads: a WAV file and Ogg files that stop in the middle of a page.
cut_to "$fmt/wav_s16_$main.wav" "$fmt/cut_wav_s16_$main.wav" 60
cut_to "$fmt/vorbis_q4_$main.ogg" "$fmt/cut_vorbis_q4_$main.ogg" 60
cut_to "$fmt/opus_vbr_$main.opus" "$fmt/cut_opus_vbr_$main.opus" 60
if [ $small = 0 ]; then
  # Over an hour, kept small by a low rate.
  ff -f lavfi -i "anoisesrc=color=pink:duration=3901.6:sample_rate=16000:amplitude=0.2:seed=3901" -ac 1 "$tmp/hour.wav"
  ff -i "$tmp/hour.wav" -c:a libopus -b:a 12k "$fmt/opus_12k_65min.opus"
  ff -i "$tmp/hour.wav" -c:a libvorbis -q:a 0 "$fmt/vorbis_q0_65min.ogg"
fi

# The decoded length of each file: the last progress line of a full decode.
decoded_ms() {
  ffmpeg -hide_banner -nostdin -i "$1" -f null - 2>&1 | tr '\r' '\n' | grep -o 'time=[0-9:.]*' | tail -1 |
    awk -F'[=:]' '{ printf "%d\n", ($2 * 3600 + $3 * 60 + $4) * 1000 + 0.5 }'
}
for f in "$out"/*.mp3; do
  name=$(basename "$f")
  printf '%s\t%s\n' "$name" "$(decoded_ms "${reference[$name]:-$f}")"
done > "$out/lengths.tsv"
# For the mixed set, to the millisecond: the samples of a full decode at the decoder's own rate.
decoded_samples_ms() {
  local rate bytes
  rate=$(ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of csv=p=0 "$1")
  bytes=$(ffmpeg -v error -nostdin -i "$1" -map 0:a:0 -ac 1 -f s16le - | wc -c)
  echo $(( (bytes / 2 * 1000 + rate / 2) / rate ))
}
for f in "$fmt"/*; do
  name=$(basename "$f")
  [ "$name" = lengths.tsv ] || printf '%s\t%s\n' "$name" "$(decoded_samples_ms "$f")"
done > "$tmp/lengths.tsv"
mv "$tmp/lengths.tsv" "$fmt/lengths.tsv"
wc -l "$out/lengths.tsv" "$fmt/lengths.tsv"
