#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own.
# Layers, lowest first: astro < reports < text < chart < app < cli | gui.
# cli and gui sit side by side: neither may include the other.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
cd "$src"

find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
  xargs -0 grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' /dev/null |
  awk -v files="$(find . -type f \( -name '*.h' -o -name '*.cpp' \) | tr '\n' ' ')" '
    BEGIN {
      rank["astro"] = 0; rank["reports"] = 1; rank["text"] = 2; rank["chart"] = 3; rank["app"] = 4
      rank["cli"] = 5; rank["gui"] = 5
      n = split(files, list, " ")
      for (i = 1; i <= n; ++i) {
        f = list[i]; sub(/^\.\//, "", f); split(f, parts, "/")
        if (!(parts[1] in rank)) { print "check_layers: " f ": folder \"" parts[1] "\" belongs to no layer"; bad = 1 }
      }
    }
    {
      file = $0; sub(/:.*/, "", file); sub(/^\.\//, "", file)
      line = substr($0, length(file) + 4)
      split(file, parts, "/"); layer = parts[1]
      target = line; sub(/^[^"]*"/, "", target); sub(/\/.*/, "", target)
      if (!(layer in rank) || !(target in rank)) next  # same folder or a library header
      if (rank[target] > rank[layer] || (rank[target] == 5 && target != layer)) {
        print "check_layers: " file " (" layer ") includes " target ": " line; bad = 1
      }
    }
    END {
      if (!bad) print "check_layers: no upward include"
      exit bad
    }'
