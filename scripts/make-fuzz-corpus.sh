#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/make-fuzz-corpus.sh DIR: writes a small seed corpus of valid inputs for every fuzz target
# into DIR/<target>/. Pictures come from ImageMagick; texts are written here.
set -euo pipefail
out=${1:?usage: scripts/make-fuzz-corpus.sh DIR}
mkdir -p "$out"/{project_text,color_text,list_files,jpeg,gif,bmp,png,webp,tiff,heif,exif,form,form_values,fx_set,standalone_show,story_file}
crlf() { sed 's/$/\r/'; }

# Project texts: music off, music on, empty playlist, missing markers.
printf '%s\n' 2 80 Random "No music" '$00D5E7EA_clWhite' Loop Color Tile No Shadow \
  /home/u/a.jpg /home/u/b.gif '[TRANS]' 1 20 '[MUSIC]' | crlf > "$out/project_text/music-off.zut"
printf '%s\n' Manual No "No effect" RepeatMusic /home/u/back.bmp No BackFile Stretch clRed No \
  /p/1.bmp '[TRANS]' '[MUSIC]' /m/a.mp3 /m/b.wav | crlf > "$out/project_text/music-on.zut"
printf '%s\n' 5 100 Random NoRepeat '$00281800_$00281800' Loop Color Center '$00FF8000' Shadow \
  '[TRANS]' 3 '[MUSIC]' > "$out/project_text/lf-only.zut"
printf '%s\n' 2 80 Random "No music" a_b Loop Color Tile No > "$out/project_text/nine-lines.zut"

# Standalone shows: a stub, the project text, blocks, the size list and the 4-byte trailer.
show() {  # show FILE PROJECT-TEXT BLOCK...
  local file=$1 text=$2 list
  shift 2
  list="$(printf '%s' "$text" | wc -c)"$'\r\n'
  for block in "$@"; do list+="$(printf '%s' "$block" | wc -c)"$'\r\n'; done
  local n=$(( $(printf '%s' "$list" | wc -c) + 4 ))
  { printf 'STUB'; printf '%s' "$text"; printf '%s' "$@"; printf '%s' "$list"
    printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $(((n >> 8) & 255)))\\x00\\x00"; } > "$file"
}
show "$out/standalone_show/two-pictures" "$(cat "$out/project_text/music-off.zut")"$'\n' JPEGDATA GIFDATA
show "$out/standalone_show/background-music" "$(cat "$out/project_text/music-on.zut")"$'\n' BM MP3 WAVE BMPDATA

# Colour texts.
i=0
for c in clWhite clRed clNone clInfoBk clScrollBar '$00D5E7EA' '$FF' 16777215 '-1' '$1FFFFFFF'; do
  printf '%s' "$c" > "$out/color_text/$i"; i=$((i + 1))
done

# List files.
printf 'Pre\r\nNo\r\n' > "$out/list_files/resume"
printf 'Not\r\n/home/u/show.zut\r\n' > "$out/list_files/resume-project"
printf '/home/u/Pictures/\r\n' > "$out/list_files/startdir"
printf 'Empty\r\n' > "$out/list_files/empty"
printf '/a/\r\n/b/\r\n/c/\r\n/d/\r\n/e/\r\n/f/\r\n/g/\r\n' > "$out/list_files/recent"

# Pictures.
convert -size 40x30 gradient:red-blue "$out/jpeg/baseline.jpg"
convert -size 40x30 gradient:green-yellow -interlace JPEG "$out/jpeg/progressive.jpg"
convert -size 33x17 gradient:white-black -colorspace Gray "$out/jpeg/gray.jpg"
convert -size 24x16 plasma:fractal -sampling-factor 4:2:0 -quality 50 "$out/jpeg/subsampled.jpg"
convert -size 20x10 gradient:red-blue -colors 16 "$out/gif/plain.gif"
convert -size 20x10 xc:none -fill red -draw 'rectangle 2,2 10,8' "$out/gif/transparent.gif"
convert -size 21x13 gradient:red-blue -colors 8 -interlace GIF "$out/gif/interlaced.gif"
convert -delay 10 -size 8x8 xc:red xc:blue -loop 0 "$out/gif/animated.gif"
convert -size 13x7 gradient:red-blue -type TrueColor "BMP3:$out/bmp/rgb24.bmp"
convert -size 13x7 gradient:red-blue -colors 16 -type Palette "BMP3:$out/bmp/palette.bmp"
convert -size 13x7 gradient:red-blue -alpha on "BMP:$out/bmp/argb32.bmp"
convert -size 9x5 xc:white -fill black -draw 'point 1,1' -monochrome "BMP3:$out/bmp/mono.bmp"
convert -size 20x10 gradient:red-blue "$out/png/rgb.png"
convert -size 20x10 xc:none -fill red -draw 'rectangle 2,2 10,8' "$out/png/alpha.png"
convert -size 20x10 gradient:white-black -colorspace Gray -depth 16 "$out/png/gray16.png"
convert -size 20x10 gradient:red-blue -interlace PNG "$out/png/interlaced.png"
convert -size 20x10 gradient:red-blue -quality 80 "$out/webp/lossy.webp"
convert -size 20x10 gradient:red-blue -define webp:lossless=true "$out/webp/lossless.webp"
convert -size 20x10 gradient:red-blue "$out/tiff/rgb.tif"
convert -size 20x10 gradient:red-blue -compress lzw -orient right-top "$out/tiff/lzw-turned.tif"
convert -size 20x10 gradient:red-blue -compress zip -colors 16 "$out/tiff/palette.tif"
convert -size 32x24 gradient:red-blue -depth 8 "PNG24:$out/heif/source.png"
heif-enc -q 50 -o "$out/heif/small.heic" "$out/heif/source.png" >/dev/null
heif-enc -q 50 -o "$out/heif/small.avif" "$out/heif/source.png" >/dev/null
rm "$out/heif/source.png"
for orient in top-left top-right right-top left-bottom; do
  convert -size 16x8 gradient:red-blue -orient "$orient" "$out/exif/$orient.jpg"
done
cp "$out/png/rgb.png" "$out/webp/lossy.webp" "$out/exif/"
cp "$out/exif/right-top.jpg" "$out/exif/left-bottom.jpg" "$out/jpeg/"

# Form descriptions.
cat > "$out/form/catalogue.dfm" <<'DFM'
object Trans: TTransitionList
  object SlowAlpha: TBlendTransition
    FlickerFreeWhenDisabled = True
    Pass2Options.UseSolidColor = False
  end
  object Right: TWipeTransition
    Milliseconds = 1700
    BandWidth = 20
    Direction = tedRight
  end
  object Puzzle: TBlockTransition
    Milliseconds = 1500
    Cols = 30
    Puzzle = True
  end
  object Transition1: TFlickerFreeTransition
    Pass2Options.SolidColor = clWhite
  end
end
DFM
printf 'object Trans: TTransitionList\nend\n' > "$out/form/empty.dfm"

# Effect settings: a class byte (registration order: flicker-free cut, blend, fuse, radial,
# block, circle, wipe, drip), a screen depth byte, then property lines; --set takes the same
# lines as PROP=VALUE.
settings() {  # settings NAME CLASS DEPTH LINE...
  local name=$1 class=$2 depth=$3
  shift 3
  printf "\\x$(printf %02x "$class")\\x$(printf %02x "$depth")" > "$out/form_values/$name"
  printf '%s\n' "$@" >> "$out/form_values/$name"
  cp "$out/form_values/$name" "$out/fx_set/$name"
}
settings cut 0 0 'Enabled = False' 'FlickerFreeWhenDisabled = True'
settings blend 1 4 'Milliseconds = 700' 'PassSetting = teTwoPasses' 'Pass2Options.UseSolidColor = False'
settings fuse 2 1 'Style = 0' 'Reversed = True' 'PassSetting = tePaletteDependent'
settings radial 3 2 'Style = 5' 'SubStyle = 16' 'Reversed = True'
settings block 4 3 'Cols = 30' 'Rows = 7' 'Puzzle = True' 'Style = 4' 'SubStyle = 3'
settings circle 5 0 'Style = 2' 'SubStyle = 8' 'Pass2Options.Reversed = True' 'PassSetting = teTwoPasses'
settings wipe 6 4 'BandWidth = 20' 'Direction = tedUp' 'Pass2Options.SolidColor = clRed'
settings drip 7 1 'Direction = tedLeft' 'Reversed = True'

# Story files: every detail, a newer program's keys, an entry that moved.
cat > "$out/story_file/details.story" <<'JSON'
{"version": 1, "fitToMusic": true, "slides": [
 {"slide": 1, "picture": "/p/a.jpg", "durationMs": 4000, "transition": "WipeLeft",
  "caption": {"text": "Day one\nArrival", "font": "DejaVu Sans", "size": 60, "colour": "#ffcc00",
              "position": "top", "edge": "shadow"}},
 {"slide": 2, "picture": "/p/b.jpg", "transition": "none"}]}
JSON
printf '%s' '{"version": 1, "motion": {"gentle": true}, "slides": [{"slide": 3, "picture": "/p/a.jpg", "motion": [0, 1]}]}' \
  > "$out/story_file/newer.story"
printf '%s' '{"version": 1, "slides": [{"slide": 3, "picture": "/p/b.jpg", "caption": {"text": "moved"}}]}' \
  > "$out/story_file/moved.story"
