#!/usr/bin/env bash
# Makes the program's pictures with ImageMagick; the results are committed under res/.
#   res/banner.bmp  327 x 68, 24 bits per pixel: the product banner, with the program's mark
#   res/tile.bmp    128 x 128, 256 colours: the background tile of the pages (light and
#                   quiet, so black text on it stays readable; it repeats without seams)
#   res/wizard.bmp  164 x 314, 24 bits per pixel: the side picture of the setup program's
#                   first and last pages, with the program's mark
set -euo pipefail
cd "$(dirname "$0")/.."
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
font2=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 128x128 xc: -seed 7 +noise Random -channel G -separate +channel \
  -virtual-pixel tile -blur 0x7 -auto-level \
  +level-colors '#dfe8f1','#f5f8fb' \
  -dither None -colors 256 -type Palette BMP3:res/tile.bmp

# The banner: the mark of art/mark.py beside the name, on the blue of the mark's tile.
python3 art/mark.py 56 "$work/mark56.png"
convert -size 68x327 gradient:'#2b6cb0'-'#0f2f5c' -rotate 90 \
  \( -size 327x68 xc:none -fill 'rgba(255,255,255,0.10)' \
     -draw 'ellipse 250,90 120,60 0,360' -draw 'ellipse 300,-20 90,45 0,360' \) -composite \
  "$work/mark56.png" -geometry +8+6 -composite \
  -stroke none -fill white -font "$font" -pointsize 27 -annotate +74+38 'Brightsweep' \
  -fill '#cfe0f4' -font "$font2" -pointsize 11 -annotate +76+56 'Quellmoor Software' \
  -type TrueColor BMP3:res/banner.bmp

# The setup program's side picture: the mark above the name, on the same blue.
python3 art/mark.py 96 "$work/mark96.png"
convert -size 164x314 gradient:'#2b6cb0'-'#0f2f5c' \
  \( -size 164x314 xc:none -fill 'rgba(255,255,255,0.08)' \
     -draw 'ellipse 150,330 140,90 0,360' -draw 'ellipse 10,-10 90,60 0,360' \) -composite \
  "$work/mark96.png" -geometry +34+48 -composite \
  -stroke none -fill white -font "$font" -pointsize 19 -gravity north -annotate +0+160 'Brightsweep' \
  -fill '#cfe0f4' -font "$font2" -pointsize 10 -annotate +0+188 'Quellmoor Software' \
  -gravity northwest -type TrueColor BMP3:res/wizard.bmp

identify res/tile.bmp res/banner.bmp res/wizard.bmp

# The icon is made by art/make_icon.py, the splash and the About page's logo by
# art/make-pictures; all of them show the mark drawn by art/mark.py.
