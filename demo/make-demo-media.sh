#!/bin/sh
# Makes the demo catalogue's covers (ImageMagick) and short MP3 tracks (ffmpeg tones, lame); results are committed.
# Needs: imagemagick, ffmpeg, lame, iconv. Run from anywhere; writes into covers/ and audio/ beside this script.
set -eu
cd "$(dirname "$0")"
FONT=DejaVu-Sans
BOLD=DejaVu-Sans-Bold
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# ---- covers ---------------------------------------------------------------------------------------
mkdir -p covers

convert -size 200x200 gradient:'#e8f1fb'-'#5d7fae' \
  -fill 'rgba(255,255,255,0.85)' -draw 'circle 40,40 46,40' -draw 'circle 150,60 154,60' \
  -draw 'circle 95,30 98,30' -draw 'circle 170,130 175,130' -draw 'circle 25,120 28,120' \
  -fill '#f4f8fc' -draw 'polygon 0,200 0,160 60,140 120,165 200,135 200,200' \
  -font $BOLD -pointsize 18 -fill '#23395d' -gravity north -annotate +0+78 'Зимние акварели' \
  -font $FONT -pointsize 12 -fill '#31507a' -annotate +0+104 'Ансамбль «Северный ветер»' \
  -quality 82 covers/winter.jpg

convert -size 200x200 gradient:'#1b2a4a'-'#f0a25a' \
  -fill '#10182b' -draw 'rectangle 0,160 200,200' \
  -fill '#e9e2d0' -draw 'polygon 140,160 150,80 160,80 170,160' \
  -fill '#c0392b' -draw 'rectangle 148,72 162,82' \
  -fill '#ffe9a8' -draw 'polygon 162,76 200,64 200,88' \
  -fill '#2c3e63' -draw 'polygon 20,150 80,150 70,160 30,160' -draw 'line 50,150 50,118' \
  -font $BOLD -pointsize 20 -fill '#fff6e0' -gravity north -annotate +0+18 'Harbour Lights' \
  -font $FONT -pointsize 12 -annotate +0+44 'Mara Quill Trio' \
  -colors 64 covers/harbour.gif

convert -size 160x160 gradient:'#ffd36e'-'#e0673a' \
  -fill '#fff2b0' -draw 'circle 118,42 136,42' \
  -fill '#7a4a2a' -draw 'polygon 0,160 0,112 160,104 160,160' \
  -fill '#3b2a20' -draw 'polygon 62,160 78,108 84,108 100,160' \
  -fill '#ffe58a' -draw 'rectangle 79,120 82,128' -draw 'rectangle 79,138 82,148' \
  -font $BOLD -pointsize 16 -fill '#5a2410' -gravity northwest -annotate +10+12 'Дорога' \
  -annotate +10+32 'на юг' \
  -type Palette BMP3:covers/south.bmp

convert -size 180x180 xc:'#0e2318' \
  -stroke '#2f7a4f' -strokewidth 2 -draw 'line 20,40 160,40' -draw 'line 20,90 160,90' -draw 'line 20,140 160,140' \
  -draw 'line 50,20 50,160' -draw 'line 130,20 130,160' \
  -stroke none -fill '#7ee2a0' -draw 'circle 50,40 56,40' -draw 'circle 130,90 136,90' -draw 'circle 50,140 56,140' \
  -fill '#c8f7d6' -draw 'circle 90,90 104,90' \
  -font $BOLD -pointsize 18 -fill '#e6fff0' -gravity south -annotate +0+12 'Circuit Garden' \
  -colors 32 -define png:exclude-chunk=date,time PNG8:covers/circuit.png

convert -size 200x200 gradient:'#0b1026'-'#27335e' \
  -fill '#f7f3c8' -draw 'circle 160,40 172,40' \
  -fill '#141a33' -draw 'rectangle 0,120 200,160' \
  -fill '#ffd76a' -draw 'rectangle 12,128 32,144' -draw 'rectangle 44,128 64,144' -draw 'rectangle 76,128 96,144' \
  -draw 'rectangle 108,128 128,144' -draw 'rectangle 140,128 160,144' \
  -fill '#5a6180' -draw 'rectangle 0,162 200,166' \
  -font $BOLD -pointsize 19 -fill '#e8ecff' -gravity north -annotate +0+70 'Ночной поезд' \
  -quality 80 covers/night.jpg

convert -size 180x180 gradient:'#3a2a5c'-'#a78bd0' \
  -fill '#fdf6d8' -draw 'circle 60,60 84,60' -fill '#5b4785' -draw 'circle 72,52 92,52' \
  -fill 'rgba(255,255,255,0.9)' -draw 'circle 130,40 132,40' -draw 'circle 150,80 152,80' -draw 'circle 110,100 112,100' \
  -font $BOLD -pointsize 15 -fill '#fff8ee' -gravity south -annotate +0+30 'Lullabies for' \
  -annotate +0+12 'Lighthouses' \
  -colors 48 covers/lullaby.gif

# ---- audio ----------------------------------------------------------------------------------------
# tone OUT SECONDS ROOT_HZ "semitones..." LAME-OPTIONS...: one soft plucked note per step, the steps
# spread evenly over SECONDS, each with a quiet fifth above it.
tone()
{
  out=$1 seconds=$2 root=$3 notes=$4
  shift 4
  count=$(echo $notes | wc -w)
  step=$(echo "$seconds / $count" | bc -l)
  expr= i=0
  for n in $notes; do
    start=$(echo "$i * $step" | bc -l)
    end=$(echo "($i + 1) * $step" | bc -l)
    f=$(echo "$root * e($n / 12 * l(2))" | bc -l)
    expr="$expr+between(t,$start,$end)*exp(-2.8*(t-$start))*(sin(2*PI*$f*t)+0.25*sin(3*PI*$f*t))"
    i=$((i + 1))
  done
  ffmpeg -hide_banner -loglevel error -y -f lavfi \
    -i "aevalsrc='0.35*(0$expr)*min(1,($seconds-t)*4)':s=44100:d=$seconds" -ac 1 "$TMP/tone.wav"
  mkdir -p "$(dirname "$out")"
  lame --quiet --noreplaygain "$@" "$TMP/tone.wav" "$out"
}

# id3v1 FILE TITLE ARTIST ALBUM YEAR GENRE: appends an ID3v1 tag with code page 1251 text.
field()
{
  printf '%s' "$1" | iconv -f UTF-8 -t CP1251 | head -c "$2" > "$TMP/field"
  cat "$TMP/field"
  head -c $(($2 - $(wc -c < "$TMP/field"))) /dev/zero
}
id3v1()
{
  {
    printf 'TAG'
    field "$2" 30; field "$3" 30; field "$4" 30; field "$5" 4; field '' 30
    printf "\\$(printf '%03o' "$6")"
  } >> "$1"
}

# Зимние акварели: MPEG-1, 44.1 kHz, 32 kbit/s, tagged.
W='-m m -b 32 --resample 44.1'
tone 'audio/winter/01 Первый снег.mp3' 5 330 '0 4 7 12 11 7 4 2 0 -5' $W
tone 'audio/winter/02 Ottepel.mp3' 4 294 '0 2 4 7 9 7 4 2' $W
tone 'audio/winter/03 Metel.mp3' 6 262 '0 3 7 10 12 10 7 3 5 8 12 15' $W
id3v1 'audio/winter/01 Первый снег.mp3' 'Первый снег' 'Ансамбль «Северный ветер»' 'Зимние акварели' 2024 32
id3v1 'audio/winter/02 Ottepel.mp3' 'Оттепель' 'Ансамбль «Северный ветер»' 'Зимние акварели' 2024 32
id3v1 'audio/winter/03 Metel.mp3' 'Метель за окном' 'Ансамбль «Северный ветер»' 'Зимние акварели' 2024 32

# Harbour Lights: MPEG-2, 22.05 kHz, 32 kbit/s, tagged.
H='-m m -b 32 --resample 22.05'
tone 'audio/harbour/01 Low Tide.mp3' 5 196 '0 7 12 7 5 4 2 0 -5 0' $H
tone 'audio/harbour/02 Foghorn Waltz.mp3' 6 220 '0 4 7 4 7 12 5 9 12 4 7 0' $H
tone 'audio/harbour/03 Lantern Row.mp3' 4 247 '0 5 9 12 9 5 0 12' $H
id3v1 'audio/harbour/01 Low Tide.mp3' 'Low Tide' 'Mara Quill Trio' 'Harbour Lights' 2023 8
id3v1 'audio/harbour/02 Foghorn Waltz.mp3' 'Foghorn Waltz' 'Mara Quill Trio' 'Harbour Lights' 2023 8
id3v1 'audio/harbour/03 Lantern Row.mp3' 'Lantern Row' 'Mara Quill Trio' 'Harbour Lights' 2023 8

# Дорога на юг: variable bit rate (a Xing header), 22.05 kHz, untagged.
S='-m m -V 8 --resample 22.05'
tone 'audio/south/Степь.mp3' 5 220 '0 2 3 5 7 5 3 2 0 -2' $S
tone 'audio/south/Полдень.mp3' 4 262 '0 7 5 4 2 4 5 7' $S
tone 'audio/south/Южный вокзал.mp3' 7 196 '0 4 7 9 7 4 2 4 7 12 11 9 7 4' $S

# Circuit Garden: MPEG-2.5, 11.025 kHz, 16 kbit/s.
C='-m m -b 16 --resample 11.025'
tone 'audio/circuit/seedling.mp3' 3 440 '0 12 7 12 0 12' $C
tone 'audio/circuit/photosynthesis.mp3' 5 392 '0 3 7 10 12 15 12 10 7 3' $C

# Черновики: MPEG-1, 48 kHz, 40 kbit/s.
tone 'audio/drafts/sketch1.mp3' 3 349 '0 2 4 5 7 9' -m m -b 40 --resample 48

# The second list.
N='-m m -b 32 --resample 44.1'
tone 'audio/night/perron.mp3' 4 208 '0 3 7 3 0 -2 0 3' $N
tone 'audio/night/ogni.mp3' 5 233 '0 5 8 12 8 5 3 5 7 0' $N
tone "audio/lullaby/Keeper's Song.mp3" 6 294 '0 4 7 4 5 2 4 0 -1 2 0 0' -m m -V 7 --resample 22.05
