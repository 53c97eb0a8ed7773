#!/bin/sh
# Made once with ImageMagick (an encoder independent of ours) for the picture tests;
# pictures.sha256 holds the SHA-256 of each one's decoded pixels (blue, green, red rows
# top to bottom), as ImageMagick decodes them: convert FILE -depth 8 bgr:- | sha256sum
set -e
convert -size 48x32 -seed 7 plasma:fractal -sampling-factor 2x2 -quality 85 photo48x32.jpg
convert -size 7x5 -seed 3 plasma:fractal -type TrueColor BMP3:rgb7x5.bmp
convert -size 5x3 -seed 4 plasma:fractal -colors 6 -type Palette BMP3:pal5x3.bmp
convert -size 16x8 gradient:black-white -colorspace Gray -quality 90 gray16x8.jpg
convert -size 9x4 -seed 5 plasma:fractal -colors 200 -type Palette -compress None BMP3:pal9x4.bmp
convert -size 11x3 pattern:checkerboard -monochrome -type Bilevel BMP3:mono11x3.bmp
