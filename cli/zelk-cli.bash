# bash completion for zelk-cli (commands, options, and the files each command takes) and for Zelk, the
# desktop program (its options and a profile to open); installed under both names.

# The options both programs share, after prev or within cur; status 1 when cur is not one of them.
_zelk_shared_option() {
    local cur=$1 prev=$2
    case $prev in
        --lang)
            COMPREPLY=($(compgen -W "zh-CN en-US" -- "$cur"))
            return 0 ;;
        --device)
            COMPREPLY=($(compgen -f -- "$cur"))
            return 0 ;;
        --report-log | --virtual-fault)
            return 0 ;;
    esac
    if [[ $cur == --virtual-keyboard=* ]]; then
        COMPREPLY=($(compgen -f -- "${cur#--virtual-keyboard=}"))
        return 0
    fi
    return 1
}

_zelk() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    _zelk_shared_option "$cur" "$prev" && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--help --version --lang --virtual-keyboard --device --" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
    fi
}

_zelk_cli() {
    local cur prev word command="" i at=0
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="list detect version flash write write-keys write-light read show import set apply diff profiles save-to-shelf"
    # The test-only options (--report-log, --virtual-fault) are not offered, only stepped over.
    local options="--help --version --lang --json --virtual-keyboard --device --"
    local flash_options="--backup --no-backup"

    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --lang | --device | --backup | --report-log | --virtual-fault) ((i++)) ;;
            -*) ;;
            *) command=$word; at=$i; break ;;
        esac
    done

    _zelk_shared_option "$cur" "$prev" && return
    if [[ $prev == --backup ]]; then
        COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
        return
    fi
    if [[ $command == set ]]; then
        _zelk_cli_set $((COMP_CWORD - at)) "$cur" "$prev"
        return
    fi
    if [[ $cur == -* ]]; then
        [[ $command == flash ]] && options="$options $flash_options"
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        "") COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
        flash) COMPREPLY=($(compgen -f -X '!*.@(hex|HEX)' -- "$cur") $(compgen -d -- "$cur")) ;;
        write | write-keys | write-light | show | read)
            COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur")) ;;
        import)
            if ((COMP_CWORD - at == 1)); then
                COMPREPLY=($(compgen -f -X '!*.@(json|JSON)' -- "$cur") $(compgen -d -- "$cur"))
            else
                COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
            fi ;;
        diff)
            COMPREPLY=($(compgen -f -X '!*.@(pro|PRO|json|JSON)' -- "$cur") $(compgen -d -- "$cur")) ;;
        apply)
            local IFS=$'\n' # shelf names may hold spaces
            COMPREPLY=($(compgen -W "$(_zelk_cli_shelf)" -- "$cur")
                $(compgen -f -X '!*.@(pro|PRO|json|JSON)' -- "$cur") $(compgen -d -- "$cur")) ;;
        save-to-shelf)
            if ((COMP_CWORD - at == 1)); then
                COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
            elif [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--replace" -- "$cur"))
            fi ;;
    esac
}

# The names on the profile shelf, one per line (names may hold spaces).
_zelk_cli_shelf() {
    local shelf=${XDG_DATA_HOME:-$HOME/.local/share}/zelk/profiles file
    [[ ${XDG_DATA_HOME:-} == /* ]] || shelf=$HOME/.local/share/zelk/profiles
    for file in "$shelf"/*.pro; do
        [[ -f $file ]] && printf '%s\n' "$(basename "$file" .pro)"
    done
}

# set PROFILE.pro KEY KIND [VALUE] [--level 1|2], or --define-combo/--define-macro/--define-emulation, or
# --colour; position counts the words after "set".
_zelk_cli_set() {
    local position=$1 cur=$2 prev=$3
    local kinds="none single combo macro emulation multimedia mouse function power"
    case $prev in
        --level) COMPREPLY=($(compgen -W "1 2" -- "$cur")); return ;;
        --play-mode) COMPREPLY=($(compgen -W "0 1 2" -- "$cur")); return ;;
        --cycles | --interval) return ;;
    esac
    if ((position == 1)); then
        COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
    elif ((position == 2)); then
        COMPREPLY=($(compgen -W "--define-combo --define-macro --define-emulation --colour" -- "$cur"))
    elif ((position == 3)) && [[ ${COMP_WORDS[COMP_CWORD - 1]} != --* ]]; then
        COMPREPLY=($(compgen -W "$kinds" -- "$cur"))
    elif [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--level --cycles --play-mode --interval" -- "$cur"))
    fi
}
complete -F _zelk_cli -o filenames zelk-cli
complete -F _zelk -o filenames Zelk
