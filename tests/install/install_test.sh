#!/usr/bin/env bash
# Checks of the installed program and of its Debian package.
#   install_test.sh tree    BUILD VERSION  install to a DESTDIR, move the tree, run it, validate files
#   install_test.sh deb     BUILD VERSION  build the package and check its file list
#   install_test.sh dpkg    BUILD VERSION  (root only) install the package, run it, remove it
set -euo pipefail
mode=$1 build=$(cd "$2" && pwd) version=$3
gui=$(test -x "$build/novastra" && echo 1 || echo 0)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Every file the installation must hold, relative to the prefix.
expected() {
  echo bin/novastra-cli
  echo libexec/novastra/novastra-graph
  echo share/novastra/MINOR.DAT
  echo share/doc/novastra/copyright
  echo share/doc/novastra/changelog.gz
  for f in MERCURY VENUS EARTH EARTH_X MARS JUPITER SATURN URANUS NEPTUNE PLUTO; do
    echo "share/novastra/$f.DAT"
  done
  echo share/novastra/OPTIONS.MAS
  echo share/novastra/OPTIONS.OPT
  echo share/novastra/README.TXT
  for f in HOW_DO_I INPUTD LICENSE NOVASTRA OPTIONS OUTPUTD1 PHILO PRNTFILE READING REVISION \
           SHORTCUT TIPS; do
    echo "share/novastra/$f.HLP"
  done
  echo share/fonts/truetype/novastra/EPHEMERI.TTF
  echo share/fonts/truetype/novastra/EPHEMERIB.TTF
  echo share/doc/novastra/EPHEMERI-LICENSE.txt
  echo share/man/man1/novastra-cli.1.gz
  echo share/bash-completion/completions/novastra-cli
  if ((gui)); then
    echo bin/novastra
    echo share/applications/org.novastra.Novastra.desktop
    echo share/icons/hicolor/scalable/apps/org.novastra.Novastra.svg
    echo share/metainfo/org.novastra.Novastra.metainfo.xml
    echo share/man/man1/novastra.1.gz
  fi
}

# The month used to compare an installed program with the build tree's.
run_month() {  # BINARY HOME KIND
  env -i PATH=/usr/bin:/bin HOME="$2" XDG_DATA_DIRS="$work/none" LC_ALL=C.UTF-8 \
    "$1" "$3" --start 1/1/2009 --full-month --midnight --geo --zodiac tropical --node true \
    --encoding cp1252
}

case $mode in
tree)
  DESTDIR="$work/stage" cmake --install "$build" --prefix /usr --strip >/dev/null
  # The tree is moved: the program must find its files relative to itself.
  mv "$work/stage/usr" "$work/moved"
  prefix=$work/moved
  while read -r f; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
  done < <(expected)
  # No path of this machine is compiled in (a sanitizer build names its sources, so is left out;
  # its program imports __asan_init).
  if ! grep -qaF __asan_init "$prefix/bin/novastra-cli" &&
    grep -rlqF "$(cd "$build/.." && pwd)" "$prefix/bin"; then
    fail "an installed program names the source or build folder"
  fi

  mkdir -p "$work/home1" "$work/home2" "$work/elsewhere"
  cd "$work/elsewhere"
  for kind in ephemeris aspectarian; do
    run_month "$prefix/bin/novastra-cli" "$work/home1" $kind >installed.txt ||
      fail "installed novastra-cli $kind failed"
    run_month "$build/novastra-cli" "$work/home2" $kind >built.txt || fail "build tree's $kind failed"
    [ -s installed.txt ] || fail "installed novastra-cli printed nothing"
    cmp -s installed.txt built.txt || fail "installed $kind differs from the build tree's"
  done
  # The book finds the symbol font where the installed tree keeps it, and embeds it.
  "$prefix/bin/novastra-cli" --home "$work/home1" book --from 2027-01 --to 2027-01 \
    -o "$work/elsewhere/book.pdf" 2>/dev/null || fail "installed novastra-cli book failed"
  pdffonts "$work/elsewhere/book.pdf" | grep -q '^EPHEMERI .* yes ' ||
    fail "the installed book has no embedded symbol font"
  # Only the user's own file is copied into the per-user folder.
  user=$work/home1/.local/share/novastra
  [ -f "$user/OPTIONS.OPT" ] || fail "OPTIONS.OPT not copied into $user"
  if ls "$user" | grep -q '\.DAT$\|\.HLP$\|OPTIONS\.MAS'; then
    fail "supplied files copied into $user: $(ls "$user")"
  fi
  # Without any supplied folder the program says so instead of running.
  cp "$prefix/bin/novastra-cli" "$work/lonely-cli"
  if out=$(run_month "$work/lonely-cli" "$work/home1" ephemeris 2>&1); then
    fail "a program without its supplied files ran"
  fi
  grep -q "supplied files" <<<"$out" || fail "no clear message without supplied files: $out"

  [ "$("$prefix/bin/novastra-cli" --version)" = "novastra-cli $version" ] ||
    fail "novastra-cli --version: $("$prefix/bin/novastra-cli" --version)"
  if ((gui)); then
    # --help and --version need no display.
    v=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/novastra" --version)
    [ "$v" = "novastra $version" ] || fail "novastra --version: $v"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/novastra" --help |
      grep -q -- "--home" || fail "novastra --help"
    desktop-file-validate "$prefix/share/applications/org.novastra.Novastra.desktop" ||
      fail "desktop-file-validate"
    appstreamcli validate --no-net --pedantic \
      "$prefix/share/metainfo/org.novastra.Novastra.metainfo.xml" >"$work/as.txt" 2>&1 ||
      { cat "$work/as.txt"; fail "appstreamcli validate"; }
    xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/org.novastra.Novastra.svg" ||
      fail "the icon is not well-formed SVG"
  fi
  family=$(fc-scan --format '%{family}' "$prefix/share/fonts/truetype/novastra/EPHEMERI.TTF")
  [ "$family" = "EPHEMERI" ] || fail "fc-scan: family '$family'"
  for page in "$prefix"/share/man/man1/*.1.gz; do
    text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err")
    [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "man -l warnings for $page"; }
    name=$(basename "$page" .1.gz)
    grep -q "^NAME" <<<"$text" && grep -q "$name" <<<"$text" && grep -q "$version" <<<"$text" ||
      fail "man page $page does not render"
  done
  # The command line's page holds every option of every command's --help, in that command's
  # own section (a subheading of COMMAND OPTIONS, up to the next one).
  cli_page=$(LC_ALL=C MANWIDTH=200 man -l "$prefix/share/man/man1/novastra-cli.1.gz" 2>/dev/null)
  for command in $("$prefix/bin/novastra-cli" --help | sed -n '/^Subcommands:/,/^$/p' | sed '1d' |
    awk '{print $1}'); do
    help=$("$prefix/bin/novastra-cli" "$command" --help) || fail "novastra-cli $command --help"
    section=$(awk -v c="   $command" '$0 == c {on = 1; next} on && /^(   [a-z]+|[A-Z].*)$/ {exit}
      on' <<<"$cli_page")
    [ -n "$section" ] || fail "man novastra-cli has no section for $command"
    for option in $(grep -o -- '--[a-z0-9-]*' <<<"$help" | sort -u); do
      grep -qF -- "$option" <<<"$section" || fail "man novastra-cli lacks $command $option"
    done
  done
  bash -n "$prefix/share/bash-completion/completions/novastra-cli" || fail "bash completion"
  # Completing words as an interactive bash does: the words so far, then what it offers.
  complete_words() {  # WORD...
    bash --norc -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
      _novastra_cli; echo "${COMPREPLY[*]}"' _ \
      "$prefix/share/bash-completion/completions/novastra-cli" "$@"
  }
  while IFS='|' read -r words want; do
    # shellcheck disable=SC2086
    got=$(complete_words $words "")
    [ "$got" = "$want" ] || fail "completing '$words': '$got', expected '$want'"
  done <<'WORDS'
novastra-cli|ephemeris aspectarian stations positions eclipses chart transits graph book --home --encoding --symbols --help --version
novastra-cli aspectarian --format|text csv json ics
novastra-cli graph --dial|360 90 45 30
novastra-cli ephemeris --node|mean true osculating
novastra-cli positions --bodies|all chiron ceres pallas juno vesta lilith osc-lilith
novastra-cli stations --bodies|all chiron ceres pallas juno vesta lilith osc-lilith sun moon mercury venus mars jupiter saturn uranus neptune pluto node
novastra-cli eclipses --kind|solar lunar all
novastra-cli chart --houses|placidus koch regiomontanus campanus porphyry equal whole-sign
novastra-cli transits --format|text csv json ics
WORDS
  got=$(complete_words novastra-cli positions --s)
  [ "$got" = "--sky --symbols" ] || fail "completing 'positions --s': '$got'"
  echo "installed tree OK"
  ;;

deb)
  out=$build/package
  rm -f "$out"/novastra_*.deb
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
  deb=$(ls "$out"/novastra_"$version"_*.deb) || fail "no package in $out"
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./usr/||' >"$work/files"
  while read -r f; do
    grep -qxF "$f" "$work/files" || fail "not in the package: $f"
  done < <(expected)
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q "libc6" <<<"$depends" || fail "dependencies not worked out: '$depends'"
  if ((gui)); then grep -q "libqt6widgets6" <<<"$depends" || fail "no Qt in Depends: '$depends'"; fi
  # What a Debian user checks: no error and no warning from lintian.
  command -v lintian >/dev/null || fail "lintian is not installed (scripts/setup installs it)"
  # Exit status 1 means tags at error level (listed below); 2 and more, lintian itself failed.
  rc=0; lintian -I -E --pedantic "$deb" >"$work/lintian.txt" 2>&1 || rc=$?
  ((rc <= 1)) || { cat "$work/lintian.txt"; fail "lintian failed (status $rc)"; }
  if grep -E '^(E|W): ' "$work/lintian.txt"; then fail "lintian reports errors or warnings"; fi
  # Informational and pedantic tags only as README explains them: a lost hardening flag
  # (hardening-no-bindnow, hardening-no-fortify-functions) is one of these.
  kept='arch-dep-package-has-big-usr-share|binary-has-unneeded-section|extra-license-file'
  kept+='|font-in-non-font-package|package-contains-documentation-outside-usr-share-doc'
  kept+='|spelling-error-in-binary'
  if grep -E '^(I|P): ' "$work/lintian.txt" | grep -vE "^.: novastra: ($kept) "; then
    fail "lintian reports tags README does not explain"
  fi
  echo "package OK: $deb"
  echo "Depends: $depends"
  ;;

dpkg)
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing the package needs root"
    exit 77
  fi
  if dpkg-query -W -f='${Status}' novastra 2>/dev/null | grep -q "ok installed"; then
    echo "SKIP: a novastra package is already installed; left alone"
    exit 77
  fi
  deb=$(ls "$build"/package/novastra_"$version"_*.deb) || fail "no package (the deb test makes it)"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    cat "$work/dpkg.log"
    dpkg --purge novastra >/dev/null 2>&1 || true
    fail "dpkg -i"
  fi
  dpkg -L novastra >"$work/owned"
  cd "$work"
  v=$(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work" novastra-cli --version) || v="(failed)"
  env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work" novastra-cli positions --date 1/1/2000 \
    >"$work/positions.txt" 2>&1 || { cat "$work/positions.txt"; v="(positions failed)"; }
  # fontconfig's trigger makes the installed font known to every program.
  fonts=$(fc-list : family 2>/dev/null | grep -cx EPHEMERI || true)
  dpkg --purge novastra >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge"; }
  [ "$v" = "novastra-cli $version" ] || fail "installed novastra-cli from PATH: $v"
  [ "$fonts" -ge 1 ] || fail "fontconfig does not list the installed EPHEMERI font"
  while read -r f; do
    if [ -f "$f" ] || [ -L "$f" ]; then fail "left after removal: $f"; fi
  done <"$work/owned"
  echo "package installs, runs and uninstalls cleanly"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
