#!/usr/bin/env bash
# The real program on a virtual display with two test cameras and a microphone, driven through
# the context menu with the pointer and the keyboard: the menu's four texts; "Video Effects"
# mirrors the live picture at once as GStreamer's videoflip mirrors the same test picture, and
# black and white and sepia change it as the effect filter itself does; OK writes the switches
# to the settings file at once; "Resolution and Device Settings" switches to the second camera
# at 1280 X 1024 in the same window; the camera's property frame changes the test camera's
# picture; "Set Save Path" through the folder chooser makes the next snapshot land in the folder
# chosen; F1 hands the help document to the desktop's handler. Then each dialog once more in
# German and in Russian. Screenshots are left in the output folder for a person to look at.
#
# usage: program_dialogs.sh <program folder> <output folder>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/program_common.sh"

printf '[Device]\nName=Vistrel Second Camera\nSizes=352x288;640x480;1280x1024\nPattern=pinwheel\n' \
    >"$VISTREL_TEST_DEVICES/Vistrel Test Camera_2.camera"  # listed after the first
chosen="$work/chosen pictures"
mkdir -p "$chosen"

# The desktop's handler for HTML: a recorder of what it was asked to open.
mkdir -p "$XDG_DATA_HOME/applications" "$work/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\n' "$work" >"$work/bin/record-open"
chmod +x "$work/bin/record-open"
printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%u\nMimeType=text/html;\n' "$work/bin/record-open" \
    >"$XDG_DATA_HOME/applications/vistrel-recorder.desktop"
printf '[Default Applications]\ntext/html=vistrel-recorder.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"

gst() { gst-launch-1.0 -q --gst-plugin-load="$program_dir/Videoeffect.ax" "$@"; }
# The first camera's picture at 640 x 480 through a filter chain: the oracle of the preview.
oracle() {  # <png> <element>...
    local png=$1
    shift
    gst videotestsrc num-buffers=1 ! video/x-raw,width=640,height=480 ! videoconvert ! "$@" ! videoconvert ! pngenc ! \
        filesink location="$png"
}
oracle "$work/flip-h.png" videoflip video-direction=horiz
oracle "$work/flip-v.png" videoflip video-direction=vert
oracle "$work/flip-both.png" videoflip video-direction=180
oracle "$work/plain.png" identity
oracle "$work/bw.png" videoeffect tone=1
oracle "$work/sepia.png" videoeffect tone=6
gst videotestsrc num-buffers=1 pattern=pinwheel ! video/x-raw,width=1280,height=1024 ! videoscale ! \
    video/x-raw,width=640,height=480 ! videoconvert ! pngenc ! filesink location="$work/pinwheel.png"

# A band of rows that holds the bars and the band under them, mirrored or not, and never the
# noise in a corner of the test picture.
band="632x210+4+130"
preview() {  # <png>: the live picture, as on the screen
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "640x480+$((outer_x + 3))+$((outer_y + 26))" +repage "$1"
}
differing() {  # <a> <b>: pixels of the band that differ by more than 12 %
    convert "$1" -crop "$band" +repage "$work/band-a.png"
    convert "$2" -crop "$band" +repage "$work/band-b.png"
    compare -metric AE -fuzz 12% "$work/band-a.png" "$work/band-b.png" null: 2>&1 || true
}
expect_preview() {  # <oracle> <what>
    sleep 1.2
    preview "$out/preview-$(basename "$1")"
    local diff
    diff=$(differing "$out/preview-$(basename "$1")" "$1")
    ((${diff%.*} < 8000)) || fail "$2: $diff pixels of the picture differ from $(basename "$1")"
    echo "ok: $2 ($diff pixels differ)"
}

start_program
echo "window ${outer_w}x${outer_h} at ${outer_x},${outer_y}"
expect_preview "$work/plain.png" "the first camera's picture"

# 1. The menu, by the right button and by the keyboard.
xdotool mousemove $((outer_x + 200)) $((outer_y + 150)) click 3
sleep 0.8
import -window root "$out/menu.png"
xdotool key Escape
sleep 0.3

# 2. Video effects. Places in the client area, from the template in pixels.
menu_item 2
effects=$(wait_window "Video Effects")
shot_of "$effects" "$out/effects.png"
xdotool windowmove "$effects" 990 60  # beside the picture it changes
sleep 0.3
hor="25 37" ver="25 62" bw="25 119" sepia="25 143" ok="97 228"
click_in "$effects" $hor
expect_preview "$work/flip-h.png" "horizontal mirror"
click_in "$effects" $ver
expect_preview "$work/flip-both.png" "both mirrors"
click_in "$effects" $hor
expect_preview "$work/flip-v.png" "vertical mirror"
click_in "$effects" $ver
click_in "$effects" $bw
expect_preview "$work/bw.png" "black and white"
click_in "$effects" $sepia
expect_preview "$work/sepia.png" "sepia over black and white"
click_in "$effects" $sepia
click_in "$effects" $hor
click_in "$effects" $ok
gone "Video Effects"
grep -q '^HorMirror=1$' "$VISTREL_REGISTRY" || fail "OK did not write the mirror to the settings file"
grep -q '^Sepia=0$' "$VISTREL_REGISTRY" || fail "OK did not write the tone to the settings file"
echo "ok: OK wrote the switches to the settings file"
menu_item 2
effects=$(wait_window "Video Effects")
click_in "$effects" $hor
xdotool key Return
gone "Video Effects"
expect_preview "$work/plain.png" "mirror off again"

# 3. The second camera at 1280 X 1024, with the keyboard: the resolution list has the focus.
menu_item 3
devices=$(wait_window "Resolution and Device Settings")
shot_of "$devices" "$out/devices.png"
xdotool key Tab Down shift+Tab Down
sleep 0.3
shot_of "$devices" "$out/devices-picked.png"
xdotool key Return
gone "Resolution and Device Settings"
sleep 3
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^Vistrel$' | head -n1)")"
((WIDTH == outer_w && HEIGHT == outer_h)) || fail "the window changed its size from 640 X 480 to 1280 X 1024"
expect_preview "$work/pinwheel.png" "the second camera at 1280 X 1024"

# 4. The camera's property frame: its first control is the test camera's pattern.
preview "$work/before-properties.png"
menu_item 1
properties=$(wait_window "Camera")
shot_of "$properties" "$out/properties.png"
xdotool key Down
sleep 1
xdotool key Escape
gone "Camera"
sleep 1
preview "$out/after-properties.png"
diff=$(differing "$work/before-properties.png" "$out/after-properties.png")
((${diff%.*} > 5000)) || fail "the property frame did not change the picture ($diff pixels differ)"
echo "ok: the property frame changed the camera's picture"

# 5. The save path through the folder chooser, then a snapshot lands there.
menu_item 4
paths=$(wait_window "Set Save Path")
shot_of "$paths" "$out/savepath.png"
choose_folder "$paths" 47 "$chosen" "$out/chooser.png"
shot_of "$paths" "$out/savepath-chosen.png"
xdotool key Return
gone "Set Save Path"
grep -qF "ImagePath=$chosen/" "$VISTREL_REGISTRY" || fail "the chosen folder is not in the settings file"
read -r sx sy < <(button_origin 2)
xdotool mousemove $((sx + 14)) $((sy + 16)) click 1
for _ in $(seq 30); do [[ -e "$chosen/StillCap0000.jpg" ]] && break; sleep 0.1; done
[[ -e "$chosen/StillCap0000.jpg" ]] || fail "the snapshot is not in the chosen folder"
echo "ok: the snapshot landed in the chosen folder"

# 6. F1: the help document goes to the desktop's handler.
xdotool mousemove $((outer_x + 200)) $((outer_y + 150))
xdotool key F1
for _ in $(seq 30); do [[ -s "$work/opened.txt" ]] && break; sleep 0.1; done
grep -q 'Res/Help.html$' "$work/opened.txt" 2>/dev/null || fail "F1 opened no help document"
echo "ok: F1 opened $(cat "$work/opened.txt")"
stop_program

# 7. The dialogs in the two languages with the longest texts, found by their translated titles.
declare -A titles=(
    [de_DE]="Videoeffekte|Auflösung und Geräteeinstellungen|Speicherpfad festlegen"
    [ru_RU]="Видеоэффекты|Разрешение и параметры устройства|Путь сохранения"
)
for lang in de_DE ru_RU; do
    LANG=$lang.UTF-8 start_program
    IFS='|' read -r -a names <<<"${titles[$lang]}"
    for i in 0 1 2; do
        menu_item $((i + 2))
        window=$(wait_window "${names[$i]}")
        shot_of "$window" "$out/$lang-dialog$((i + 2)).png"
        xdotool key Escape
        gone "${names[$i]}"
    done
    xdotool mousemove $((outer_x + 200)) $((outer_y + 150)) click 3
    sleep 0.8
    import -window root "$out/$lang-menu.png"
    xdotool key Escape
    stop_program
done
echo "ok: the dialogs in German and Russian are kept for a look"
