#!/usr/bin/env bash
# Makes the demo portal's sample videos from ffmpeg's synthetic sources. The results are
# committed beside this script, so building needs no ffmpeg; run it again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

font=/usr/share/fonts/truetype/arphic/uming.ttc
common=(-hide_banner -loglevel error -y)
length=(-t 8 -r 24)
vp9=(-c:v libvpx-vp9 -b:v 150k -maxrate 190k -minrate 80k -deadline good -cpu-used 2
     -row-mt 1 -g 48 -pix_fmt yuv420p)
opus=(-c:a libopus -b:a 24k -ac 2 -ar 48000)

# The feature presentation: a slow Mandelbrot zoom under a soft two-note drone.
ffmpeg "${common[@]}" \
  -f lavfi -i "mandelbrot=size=480x270:rate=24:start_scale=2.6:end_scale=0.04:end_pts=192:maxiter=200:inner=black" \
  -f lavfi -i "aevalsrc=0.08*sin(2*PI*220*t)+0.05*sin(2*PI*330*t)*(0.5+0.5*sin(2*PI*0.25*t)):s=48000" \
  -vf "hue=h=150,vignette=PI/5,drawtext=fontfile=${font}:text='Tivora 演示影片':x=w-tw-12:y=h-th-10:fontsize=16:fontcolor=white@0.8" \
  -af "afade=in:d=1,afade=out:st=7:d=1" \
  "${length[@]}" "${vp9[@]}" "${opus[@]}" feature.webm

# A live channel: Conway's life over a moving gradient, with a ticking tone.
ffmpeg "${common[@]}" \
  -f lavfi -i "gradients=size=480x270:rate=24:c0=0x0b3d91:c1=0x1e88e5:c2=0x00acc1:nb_colors=3:speed=0.02" \
  -f lavfi -i "life=size=160x90:rate=24:mold=10:life_color=0xffffff:death_color=0x000000:mold_color=0x3a7bd5:ratio=0.15:seed=7" \
  -f lavfi -i "sine=frequency=440:beep_factor=2:sample_rate=48000" \
  -filter_complex "[1:v]scale=480:270:flags=neighbor,format=yuv420p[cells];[0:v]format=yuv420p[bg];[bg][cells]blend=all_mode=screen:all_opacity=0.55,drawtext=fontfile=${font}:text='Tivora 直播':x=12:y=10:fontsize=16:fontcolor=white@0.85[v]" \
  -map "[v]" -map 2:a -af "volume=0.15" \
  "${length[@]}" "${vp9[@]}" "${opus[@]}" channel.webm

# The test card channel.
ffmpeg "${common[@]}" \
  -f lavfi -i "testsrc2=size=480x270:rate=24" \
  -f lavfi -i "sine=frequency=1000:sample_rate=48000" \
  -vf "drawtext=fontfile=${font}:text='测试频道':x=(w-tw)/2:y=h-th-16:fontsize=20:fontcolor=white:box=1:boxcolor=black@0.5:boxborderw=6" \
  -af "volume=0.05" \
  "${length[@]}" "${vp9[@]}" "${opus[@]}" testcard.webm

ls -l feature.webm channel.webm testcard.webm
