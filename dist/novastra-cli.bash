# bash completion for novastra-cli                           -*- shell-script -*-

_novastra_cli()
{
    local cur prev words cword
    _init_completion || return

    local commands="ephemeris aspectarian stations positions"
    local run="--start --days --full-month --no-full-month --noon --midnight --helio --geo
               --zodiac --node --table --save --no-save --encoding --home --help"

    case $prev in
        --zodiac)
            COMPREPLY=($(compgen -W 'tropical sidereal ayanamsa' -- "$cur"))
            return ;;
        --node)
            COMPREPLY=($(compgen -W 'mean true' -- "$cur"))
            return ;;
        --table)
            COMPREPLY=($(compgen -W 'longitude latitude ra declination' -- "$cur"))
            return ;;
        --encoding)
            COMPREPLY=($(compgen -W 'utf8 cp1252' -- "$cur"))
            return ;;
        --moon-ingress)
            COMPREPLY=($(compgen -W 'display hide' -- "$cur"))
            return ;;
        --tz)
            local zones
            zones=$(cd /usr/share/zoneinfo 2>/dev/null && find . -type f -name '[A-Z]*' | sed 's|^\./||' | grep '/')
            COMPREPLY=($(compgen -W "UT $zones" -- "$cur"))
            return ;;
        --home)
            _filedir -d
            return ;;
        --start | --date | --days)
            return ;;
    esac

    # The first word that is a command decides the options offered.
    local i command=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            ephemeris | aspectarian | stations | positions)
                command=${words[i]}
                break ;;
        esac
    done

    local opts
    case $command in
        ephemeris) opts=$run ;;
        aspectarian | stations) opts="$run --moon-sign-only --moon-ingress --tz --void-of-course --no-void-of-course" ;;
        positions) opts="--date --noon --zodiac --node --home --help" ;;
        *)
            if [[ $cur == -* ]]; then
                opts="--help --version"
            else
                COMPREPLY=($(compgen -W "$commands" -- "$cur"))
                return
            fi ;;
    esac
    COMPREPLY=($(compgen -W "$opts" -- "$cur"))
} &&
    complete -F _novastra_cli novastra-cli

# ex: filetype=sh
