#!/usr/bin/env bash
# Makes the films the demo portal serves to the client's own player, from ffmpeg's synthetic
# sources, into the folder given (the build runs it): a 720p H.264/AAC film (with a Chinese
# subtitle file beside it in the sources), an HLS film (playlist and segments) and a RealMedia film.
#
#   make-films.sh OUTDIR
set -euo pipefail
out=${1:?usage: make-films.sh OUTDIR}
mkdir -p "$out"
cd "$out"

font=/usr/share/fonts/truetype/arphic/uming.ttc
common=(-hide_banner -loglevel error -y)
label() { echo "drawtext=fontfile=${font}:text='$1':x=32:y=32:fontsize=$2:fontcolor=white:box=1:boxcolor=black@0.5:boxborderw=8"; }

# 720p H.264 main profile with AAC, the kind a portal serves to a page's <video>.
ffmpeg "${common[@]}" \
  -f lavfi -i "testsrc2=size=1280x720:rate=24" \
  -f lavfi -i "sine=frequency=440:beep_factor=4:sample_rate=44100" \
  -vf "$(label 'Tivora 高清演示' 40)" -af "volume=0.2" -t 20 \
  -c:v libx264 -preset veryfast -crf 32 -g 48 -pix_fmt yuv420p -profile:v main \
  -c:a aac -b:a 48k -ac 2 -movflags +faststart hd.mp4

# HLS: a playlist of four two-second segments.
ffmpeg "${common[@]}" \
  -f lavfi -i "mandelbrot=size=640x360:rate=24:start_scale=2:end_scale=0.2:end_pts=192" \
  -f lavfi -i "sine=frequency=330:sample_rate=44100" \
  -vf "$(label 'Tivora HLS 演示' 24)" -af "volume=0.2" -t 8 \
  -c:v libx264 -preset veryfast -crf 32 -g 24 -pix_fmt yuv420p -c:a aac -b:a 32k \
  -f hls -hls_time 2 -hls_list_size 0 -hls_playlist_type vod -hls_segment_filename 'stream%d.ts' \
  stream.m3u8

# RealMedia: RealVideo 2.0 with AC-3 sound, what portals of old served.
ffmpeg "${common[@]}" \
  -f lavfi -i "smptebars=size=352x288:rate=15" \
  -f lavfi -i "sine=frequency=550:sample_rate=44100" \
  -vf "$(label 'RealMedia 演示' 20)" -af "volume=0.2" -t 10 \
  -c:v rv20 -b:v 250k -c:a ac3 -b:a 64k classic.rm
