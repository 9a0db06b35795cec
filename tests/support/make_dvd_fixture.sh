#!/bin/bash
# Authors a small unencrypted PAL DVD-Video folder for the tests: ffmpeg makes the pictures, sound and
# subpicture images, spumux adds menu buttons and subtitles, dvdauthor lays out the disc (about 3 MB).
#   usage: make_dvd_fixture.sh OUTDIR [MENU_PAUSE]
#   MENU_PAUSE = seconds (1..254) the manager menu's still lasts before title 1 plays by itself, or "inf"
#                for a menu that waits for a button.
# Layout:
#   first play  : g1=0; jump vmgm menu 1
#   VMGM menu 1 : (entry=title) 2 buttons: [1] jump title 1, [2] jump title 2
#                 still for MENU_PAUSE s, post: jump title 1
#                 pre: g1==2 -> jump title 2 (the titles' chain), g1==3 -> exit
#   VTS 1 menu  : (entry=root) 3 buttons: [1] title 1 chapter 3, [2] resume, [3] vmgm menu 1; still forever
#   VTS 1 title : title 1, 12 s, 3 chapters (0, 4, 8 s), 2 AC3 audio (en 440 Hz, de 880 Hz), 2 subpicture
#                 streams (en, fr); post: g1=2; call vmgm menu 1 (-> title 2)
#   VTS 2 title : title 2, 6 s, 1 chapter, 1 AC3 audio (en 660 Hz), no subpictures;
#                 post: g1=3; call vmgm menu 1 (-> exit, the end of the disc)
set -euo pipefail
OUT=${1:?outdir}
MENU_PAUSE=${2:-3}
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
FF="ffmpeg -hide_banner -nostdin -v error -y"
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
txt() { # txt TEXT X Y SIZE -> drawtext filter fragment (empty if no font)
  [ -f "$FONT" ] && printf ",drawtext=fontfile=%s:text='%s':x=%s:y=%s:fontsize=%s:fontcolor=white" "$FONT" "$1" "$2" "$3" "$4"
  return 0
}
# common encoder settings: DVD-compliant (-target pal-dvd) but low bitrate
ENC=(-target pal-dvd -aspect 4:3 -b:v 1200k -maxrate 3000k -b:a 128k -ac 2)

# ---- title 1: 12 s, testsrc, two audio streams -----------------------------
$FF -f lavfi -i "testsrc=size=720x576:rate=25$(txt 'TITLE 1  %{pts\:hms}' 40 500 36)" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000" \
    -f lavfi -i "sine=frequency=880:sample_rate=48000" \
    -t 12 -map 0:v -map 1:a -map 2:a "${ENC[@]}" -force_key_frames 4,8 "$W/t1_av.mpg"

# subtitle images (transparent canvas + opaque box), 720x576 RGBA PNG
png() { # png FILE FILTERS
  $FF -f lavfi -i "color=c=black@0.0:s=720x576,format=yuva444p$2" -frames:v 1 -pix_fmt rgba "$1"
}
box() { printf ",drawbox=x=%s:y=%s:w=%s:h=%s:color=%s:t=%s:replace=1" "$@"; }
png "$W/sub_en.png" "$(box 200 470 320 40 white@1.0 fill)"
png "$W/sub_fr.png" "$(box 200 420 320 40 yellow@1.0 fill)"
cat > "$W/sub0.xml" <<EOF
<subpictures format="PAL"><stream>
  <spu start="00:00:01.00" end="00:00:03.00" image="$W/sub_en.png"/>
  <spu start="00:00:05.00" end="00:00:07.00" image="$W/sub_en.png"/>
</stream></subpictures>
EOF
cat > "$W/sub1.xml" <<EOF
<subpictures format="PAL"><stream>
  <spu start="00:00:02.00" end="00:00:06.00" image="$W/sub_fr.png"/>
</stream></subpictures>
EOF
spumux -v 0 -s 0 "$W/sub0.xml" < "$W/t1_av.mpg" > "$W/t1_s0.mpg" 2>"$W/spumux.log"
spumux -v 0 -s 1 "$W/sub1.xml" < "$W/t1_s0.mpg" > "$W/title1.mpg" 2>>"$W/spumux.log"

# ---- title 2: 6 s, smptebars, one audio stream -----------------------------
$FF -f lavfi -i "smptebars=size=720x576:rate=25$(txt 'TITLE 2  %{pts\:hms}' 40 500 36)" \
    -f lavfi -i "sine=frequency=660:sample_rate=48000" \
    -t 6 -map 0:v -map 1:a "${ENC[@]}" "$W/title2.mpg"

# ---- menus: 1 s still background + silent audio, buttons via spumux ---------
menu_bg() { # menu_bg OUT FILTERS
  $FF -f lavfi -i "color=c=0x202060:s=720x576:r=25$2" \
      -f lavfi -i "anullsrc=r=48000:cl=stereo" -t 1 "${ENC[@]}" "$1"
}
# VMGM: buttons at y 180-240 and 320-380 (x 200-520)
menu_bg "$W/vmgm_bg.mpg" "$(box 200 180 320 60 gray@1.0 fill)$(box 200 320 320 60 gray@1.0 fill)$(txt 'Title 1' 300 195 30)$(txt 'Title 2' 300 335 30)"
png "$W/vmgm_hl.png"  "$(box 196 176 328 68 yellow@1.0 6)$(box 196 316 328 68 yellow@1.0 6)"
png "$W/vmgm_sel.png" "$(box 196 176 328 68 red@1.0 6)$(box 196 316 328 68 red@1.0 6)"
cat > "$W/vmgm.xml" <<EOF
<subpictures format="PAL"><stream>
  <spu force="yes" start="00:00:00.00" highlight="$W/vmgm_hl.png" select="$W/vmgm_sel.png">
    <button name="1" x0="196" y0="176" x1="524" y1="244" up="2" down="2"/>
    <button name="2" x0="196" y0="316" x1="524" y1="384" up="1" down="1"/>
  </spu>
</stream></subpictures>
EOF
spumux -v 0 "$W/vmgm.xml" < "$W/vmgm_bg.mpg" > "$W/vmgm_menu.mpg" 2>>"$W/spumux.log"

# VTSM (titleset 1 root menu): three buttons at y 140, 260, 380
menu_bg "$W/vtsm_bg.mpg" "$(box 200 140 320 60 gray@1.0 fill)$(box 200 260 320 60 gray@1.0 fill)$(box 200 380 320 60 gray@1.0 fill)$(txt 'Chapter 3' 280 155 30)$(txt 'Resume' 300 275 30)$(txt 'Main menu' 280 395 30)"
png "$W/vtsm_hl.png"  "$(box 196 136 328 68 yellow@1.0 6)$(box 196 256 328 68 yellow@1.0 6)$(box 196 376 328 68 yellow@1.0 6)"
png "$W/vtsm_sel.png" "$(box 196 136 328 68 red@1.0 6)$(box 196 256 328 68 red@1.0 6)$(box 196 376 328 68 red@1.0 6)"
cat > "$W/vtsm.xml" <<EOF
<subpictures format="PAL"><stream>
  <spu force="yes" start="00:00:00.00" highlight="$W/vtsm_hl.png" select="$W/vtsm_sel.png">
    <button name="1" x0="196" y0="136" x1="524" y1="204" up="3" down="2"/>
    <button name="2" x0="196" y0="256" x1="524" y1="324" up="1" down="3"/>
    <button name="3" x0="196" y0="376" x1="524" y1="444" up="2" down="1"/>
  </spu>
</stream></subpictures>
EOF
spumux -v 0 "$W/vtsm.xml" < "$W/vtsm_bg.mpg" > "$W/vtsm_menu.mpg" 2>>"$W/spumux.log"

# ---- author -----------------------------------------------------------------
cat > "$W/dvd.xml" <<EOF
<dvdauthor dest="$OUT" format="pal">
  <vmgm>
    <fpc>g1 = 0; jump vmgm menu 1;</fpc>
    <menus>
      <video format="pal" aspect="4:3"/>
      <pgc entry="title">
        <pre>if (g1 eq 2) { g1 = 0; jump title 2; } if (g1 eq 3) { g1 = 0; exit; }</pre>
        <button name="1">jump title 1;</button>
        <button name="2">jump title 2;</button>
        <vob file="$W/vmgm_menu.mpg" pause="$MENU_PAUSE"/>
        <post>jump title 1;</post>
      </pgc>
    </menus>
  </vmgm>
  <titleset>
    <menus>
      <video format="pal" aspect="4:3"/>
      <pgc entry="root">
        <button name="1">jump title 1 chapter 3;</button>
        <button name="2">resume;</button>
        <button name="3">jump vmgm menu 1;</button>
        <vob file="$W/vtsm_menu.mpg" pause="inf"/>
      </pgc>
    </menus>
    <titles>
      <video format="pal" aspect="4:3"/>
      <audio lang="en"/>
      <audio lang="de"/>
      <subpicture lang="en"/>
      <subpicture lang="fr"/>
      <pgc>
        <vob file="$W/title1.mpg" chapters="0,0:04,0:08"/>
        <post>g1 = 2; call vmgm menu 1;</post>
      </pgc>
    </titles>
  </titleset>
  <titleset>
    <titles>
      <video format="pal" aspect="4:3"/>
      <audio lang="en"/>
      <pgc>
        <vob file="$W/title2.mpg"/>
        <post>g1 = 3; call vmgm menu 1;</post>
      </pgc>
    </titles>
  </titleset>
</dvdauthor>
EOF
rm -rf "$OUT"
dvdauthor -x "$W/dvd.xml" > "$W/dvdauthor.log" 2>&1 || { cat "$W/dvdauthor.log"; exit 1; }
grep -E 'WARN|ERR' "$W/dvdauthor.log" "$W/spumux.log" || true
cp "$W/dvd.xml" "$W/dvdauthor.log" "$OUT/"
