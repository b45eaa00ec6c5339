# bash completion for novastra-cli
_novastra_cli() {
  local cur prev words cword
  _init_completion 2>/dev/null || {
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
  }
  local global="--home --encoding --symbols --help --version"
  local range="--from --start --to --days --full-month --zodiac --ayanamsa --node --sky --tz --no-carry --format -o --output --use-settings --jobs"
  local command="" w
  for w in "${words[@]:1:cword-1}"; do
    case "$w" in ephemeris|aspectarian|stations|positions|eclipses|chart|transits|graph|book) command=$w ;; esac
  done
  case "$prev" in
    --home) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    -o|--output) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --encoding) COMPREPLY=($(compgen -W "utf8 cp1252" -- "$cur")); return ;;
    --symbols) COMPREPLY=($(compgen -W "unicode ascii" -- "$cur")); return ;;
    --zodiac) COMPREPLY=($(compgen -W "tropical sidereal ayanamsa" -- "$cur")); return ;;
    --ayanamsa) COMPREPLY=($(compgen -W "fagan-bradley lahiri raman krishnamurti yukteshwar j2000 djwhal-khul galactic-centre" -- "$cur")); return ;;
    --node) COMPREPLY=($(compgen -W "mean true osculating" -- "$cur")); return ;;
    --sky) COMPREPLY=($(compgen -W "design apparent" -- "$cur")); return ;;
    --tz)
      local zones
      zones=$(cd /usr/share/zoneinfo 2>/dev/null && find . -type f -name '[A-Z]*' | sed 's|^\./||' | grep -v '^posix/\|^right/')
      COMPREPLY=($(compgen -W "UT $zones" -- "$cur")); return ;;
    --format)
      case "$command" in
        aspectarian|stations|eclipses|transits) COMPREPLY=($(compgen -W "text csv json ics" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "text csv json" -- "$cur")) ;;
      esac
      return ;;
    --kinds) COMPREPLY=($(compgen -W "all aspects parallels ingresses stations lunations void" -- "$cur")); return ;;
    --bodies)
      case "$command" in
        ephemeris|positions) COMPREPLY=($(compgen -W "all chiron ceres pallas juno vesta lilith osc-lilith" -- "$cur")) ;;
        aspectarian|stations|graph) COMPREPLY=($(compgen -W "all chiron ceres pallas juno vesta lilith osc-lilith sun moon mercury venus mars jupiter saturn uranus neptune pluto node" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "all sun moon mercury venus mars jupiter saturn uranus neptune pluto node" -- "$cur")) ;;
      esac
      return ;;
    --kind) COMPREPLY=($(compgen -W "solar lunar all" -- "$cur")); return ;;
    --dial) COMPREPLY=($(compgen -W "360 90 45 30" -- "$cur")); return ;;
    --table) COMPREPLY=($(compgen -W "longitude latitude ra declination" -- "$cur")); return ;;
    --moon-ingress) COMPREPLY=($(compgen -W "display hide" -- "$cur")); return ;;
    --aspects) COMPREPLY=($(compgen -W "major minor all conjunction sextile square trine opposition semisextile semisquare quintile sesquiquadrate biquintile quincunx" -- "$cur")); return ;;
    --houses) COMPREPLY=($(compgen -W "placidus koch regiomontanus campanus porphyry equal whole-sign" -- "$cur")); return ;;
    --chart) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --from|--start|--to|--date|--days|--time|--jobs|--points|--width|--height|--lat|--lon|--name) return ;;
  esac
  local opts
  case "$command" in
    ephemeris) opts="$range --noon --midnight --geo --helio --table --local-rows --save --bodies" ;;
    aspectarian) opts="$range --noon --midnight --geo --helio --moon-sign-only --moon-ingress --void-of-course --aspects --save --kinds --bodies" ;;
    stations) opts="$range --bodies" ;;
    positions) opts="--date --time --noon --zodiac --ayanamsa --node --sky --bodies --format -o --output" ;;
    eclipses) opts="--from --to --kind --tz --format -o --output" ;;
    chart) opts="--date --time --tz --lat --lon --houses --zodiac --node --sky --name --save --format -o --output" ;;
    transits) opts="--chart --from --to --tz --aspects --format -o --output" ;;
    graph) opts="--from --to --dial --bodies --points --width --height --noon --zodiac --ayanamsa --node -o" ;;
    book) opts="--from --to --tz --paper --sky --zodiac --ayanamsa --node --noon -o --output" ;;
    *) COMPREPLY=($(compgen -W "ephemeris aspectarian stations positions eclipses chart transits graph book $global" -- "$cur")); return ;;
  esac
  COMPREPLY=($(compgen -W "$opts $global" -- "$cur"))
}
complete -F _novastra_cli novastra-cli
