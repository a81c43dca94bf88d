# bash completion for zelk-cli: commands, options, and the files each command takes.
_zelk_cli() {
    local cur prev word command="" i
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands="detect version flash write write-keys write-light read show"
    local options="--help --version --lang --json --virtual-keyboard --report-log --virtual-fault --"

    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
            --lang | --report-log | --virtual-fault) ((i++)) ;;
            -*) ;;
            *) command=$word; break ;;
        esac
    done

    case $prev in
        --lang)
            COMPREPLY=($(compgen -W "zh-CN en-US" -- "$cur"))
            return ;;
        --report-log)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --virtual-fault)
            COMPREPLY=($(compgen -W "fail-write= unplug-at= silent-after= unexpected" -- "$cur"))
            compopt -o nospace 2>/dev/null
            return ;;
    esac
    if [[ $cur == --virtual-keyboard=* ]]; then
        COMPREPLY=($(compgen -f -- "${cur#--virtual-keyboard=}"))
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        "") COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
        flash) COMPREPLY=($(compgen -f -X '!*.@(hex|HEX)' -- "$cur") $(compgen -d -- "$cur")) ;;
        write | write-keys | write-light | show | read)
            COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur")) ;;
    esac
}
complete -F _zelk_cli -o filenames zelk-cli
