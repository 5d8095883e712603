# bash completion for tovrik-size
_tovrik_size()
{
    local cur prev words cword
    _init_completion -s || return

    local command=${words[1]}
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W 'air steam water batch --help --version' -- "$cur"))
        return
    fi

    case $prev in
        --gas-service) COMPREPLY=($(compgen -W 'workshop site natural-gas' -- "$cur")); return ;;
        --series) COMPREPLY=($(compgen -W 'cn asme40 asme80 asme10s asme40s gb3091' -- "$cur")); return ;;
        --detail) COMPREPLY=($(compgen -W 'failed all none' -- "$cur")); return ;;
        --sheet | --pdf | --sheet-info) _filedir; return ;;
        --encoding) COMPREPLY=($(compgen -W 'utf-8 gbk' -- "$cur")); return ;;
        -Q | --flow | -P | --pressure | -T | --temperature | -u | --specific-volume | \
            -p | --steam-pressure | --steam-temperature | -v | --velocity | --roughness)
            return ;;
    esac
    $split && return

    local options
    case $command in
        air) options='--flow= --pressure= --temperature= --velocity= --gas-service=' ;;
        steam) options='--flow= --specific-volume= --steam-pressure= --gauge --absolute
            --steam-temperature= --velocity=' ;;
        water) options='--flow= --velocity= --temperature= --pressure=' ;;
        batch) options='--gauge --absolute --encoding= --bom --detail=' ;;
        *) return ;;
    esac
    options+=' --series= --all-sizes --roughness= --sheet= --pdf= --sheet-info= --help --version'
    [[ $command != batch ]] && options+=' --json'

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    elif [[ $command == batch ]]; then
        _filedir csv
    fi
} && complete -F _tovrik_size tovrik-size
