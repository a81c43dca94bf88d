#!/bin/sh
# Fails, naming the file and the include, when a product folder includes a folder it may not use, or
# when the Qt-free folders include Qt. The folders depend one way:
#   shell (the program) -> editor, backlight, device_ui (the dialogs) -> skin -> model
#   -> catalogue, xml -> hwi
# with text (the UI languages and texts, the words for the device library's problem codes) below every
# app folder, and the skin painter and zelk-cli on top. Run by the build (the ZelkLayers target).
set -eu
cd "$(dirname "$0")/.."

# folder: the folders whose headers it may include (besides its own)
may_use() {
    case $1 in
    app/text) echo "zelk" ;; # only the device library's problem codes, to word them
    hwi) echo "zelk" ;; # the device library stands alone and has no UI texts
    app/xml) echo "zelk text" ;;
    app/catalogue) echo "zelk text" ;;
    app/model) echo "catalogue xml zelk text" ;;
    app/skin) echo "model catalogue xml zelk text" ;;
    app/editor | app/device_ui) echo "skin model catalogue xml zelk text" ;;
    app/backlight) echo "device_ui skin model catalogue xml zelk text" ;;
    app/shell) echo "editor backlight device_ui skin model catalogue xml zelk text" ;;
    res/painter) echo "shell editor backlight device_ui skin model catalogue xml zelk text" ;;
    cli) echo "model catalogue xml zelk text" ;;
    esac
}

status=0
for folder in app/text hwi app/xml app/catalogue app/model app/skin app/editor app/device_ui app/backlight \
    app/shell res/painter cli; do
    own=$(basename "$folder")
    allowed=" $own $(may_use "$folder") "
    for file in $(find "$folder" -name '*.cpp' -o -name '*.h' | sort); do
        for used in $(sed -n 's@^#include "\([a-z_]*\)/.*"@\1@p' "$file"); do
            case $allowed in
            *" $used "*) ;;
            *)
                case $folder in hwi) [ "$used" = hook ] || [ "$used" = transport ] && continue ;; esac
                echo "layers-check: $file includes $used/, which $folder may not use" >&2
                status=1
                ;;
            esac
        done
        case $folder in
        app/text | hwi | app/xml | app/catalogue | app/model)
            if grep -q '^#include <Q' "$file"; then
                echo "layers-check: $file includes Qt, which $folder stays free of" >&2
                status=1
            fi
            ;;
        esac
    done
done
exit $status
