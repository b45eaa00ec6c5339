#!/bin/sh
# Writes a help2man include file with one section per command of a program:
# each command's own --help (its options and their defaults), taken from the
# program's top-level help, so that a new command appears by itself. A command
# may be answered by another program (graph by novastra-graph); a help that
# fails or prints nothing stops the page rather than leaving a section empty.
#   tools/man_commands.sh PROGRAM OUTFILE
set -eu
program="$1"
out="$2"
tmp="$out.tmp"
help="$out.help"
trap 'rm -f "$tmp" "$help"' EXIT
commands=$("$program" --help | sed -n '/^Subcommands:/,/^$/p' | sed '1d;/^$/d' | awk '{print $1}')
[ -n "$commands" ] || { echo "$0: no commands in '$program --help'" >&2; exit 1; }
{
  echo "[COMMAND OPTIONS]"
  for command in $commands; do
    if ! "$program" "$command" --help >"$help" || ! grep -q -- '--' "$help"; then
      echo "$0: '$program $command --help' failed or lists no options" >&2
      exit 1
    fi
    echo ".SS $command"
    echo ".nf"
    # Backslashes and leading dots or quotes would be read as roff requests.
    sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" "$help"
    echo ".fi"
  done
} >"$tmp"
mv "$tmp" "$out"
