#!/usr/bin/env bash
# Renders the device dialogs of the desktop program under Xvfb with the virtual keyboard and writes
# 8-bit (palette) PNGs, in Chinese (zh) and English (en):
#   progress-LANG.png         the progress dialog while the key settings are written
#   ok-LANG.png               the "OK!" message that follows
#   firmware-LANG.png         the firmware dialog with the version read and a file chosen
#   firmware-message-LANG.png the message that tells the update succeeded
#   firmware-done-LANG.png    the firmware dialog after the update, its bar full
# Usage: scripts/screenshot-devices.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=${2:-$here/screenshots}
. "$here/scripts/xvfb-session.sh"
start_program

# A firmware file of valid Intel-HEX records for the virtual keyboard.
need python3
python3 - "$work/K87-firmware-v2.hex" <<'EOF'
import sys
lines = []
for i in range(600):
    address = i * 16
    data = [(i * 7 + b * 13) & 0xFF for b in range(16)]
    record = [16, address >> 8 & 0xFF, address & 0xFF, 0] + data
    lines.append(":" + "".join("%02X" % b for b in record) + "%02X" % (-sum(record) & 0xFF))
lines.append(":00000001FF")
open(sys.argv[1], "w", newline="").write("\r\n".join(lines) + "\r\n")
EOF

for lang in zh en; do
    if [ "$lang" = en ]; then
        click_in "$main" 1077 112 # language switch
    fi

    # Write key settings: the progress dialog stays up two seconds after the transfer.
    click_in "$main" 490 112
    progress=$(find_window 375x255 "$main")
    park_mouse
    shot "$progress" "$out/progress-$lang.png"
    message=$(find_window any "$main" "$progress")
    sleep 0.3
    shot "$message" "$out/ok-$lang.png"
    xdotool key Return
    sleep 0.5

    # Firmware update: version, file, update.
    click_in "$main" 920 112
    firmware=$(find_window 375x255 "$main")
    click_in "$firmware" 276 85  # Get Version
    click_in "$firmware" 301 124 # Open
    answer_file_dialog "$work/K87-firmware-v2.hex" "$main" "$firmware"
    park_mouse
    shot "$firmware" "$out/firmware-$lang.png"
    click_in "$firmware" 88 218 # Update
    message=$(find_window any "$main" "$firmware")
    sleep 0.3
    shot "$message" "$out/firmware-message-$lang.png"
    xdotool key Return
    sleep 0.3
    park_mouse
    shot "$firmware" "$out/firmware-done-$lang.png"
    click_in "$firmware" 282 218 # Cancel
done
