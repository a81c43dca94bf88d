# bash completion for Zelk, the desktop program: its options and a profile to open.
_zelk() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
        --lang)
            COMPREPLY=($(compgen -W "zh-CN en-US" -- "$cur"))
            return ;;
        --device)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --report-log | --virtual-fault)
            return ;;
    esac
    if [[ $cur == --virtual-keyboard=* ]]; then
        COMPREPLY=($(compgen -f -- "${cur#--virtual-keyboard=}"))
    elif [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--help --version --lang --virtual-keyboard --device --" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -X '!*.@(pro|PRO)' -- "$cur") $(compgen -d -- "$cur"))
    fi
}
complete -F _zelk -o filenames Zelk
