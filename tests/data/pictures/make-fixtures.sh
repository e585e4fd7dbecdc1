#!/bin/sh
# Makes the picture fixtures of test_pictures with ImageMagick; the results are committed.
set -e
cd "$(dirname "$0")"
convert -size 24x16 gradient:red-blue -fill yellow -draw "rectangle 4,4 10,10" -quality 90 rgb.jpg
convert -size 24x16 gradient:white-black -fill gray30 -draw "circle 12,8 16,8" -colorspace Gray -quality 90 gray.jpg
convert -size 24x16 gradient:lime-navy -quality 85 -interlace Plane progressive.jpg
convert -size 8x8 xc:red xc:blue +append -colorspace CMYK -quality 100 cmyk.jpg
convert -size 4x4 xc:red xc:lime xc:blue xc:white +append -transparent white transparent.gif
convert -size 8x16 gradient:black-white -colors 16 -interlace GIF interlaced.gif
convert -size 4x3 xc:red -set page 10x8+3+2 offset.gif
convert -size 4x4 xc:red xc:lime xc:blue xc:white +append BMP3:colours.bmp
convert -size 4x4 xc:red xc:lime xc:blue xc:"rgba(255,255,255,0.5)" +append -define png:exclude-chunk=date,time colours.png
convert -size 16x8 xc:red xc:blue +append -compress RLE -type Palette BMP3:rle8.bmp
