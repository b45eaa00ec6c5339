#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own.
# Layers, lowest first: astro < reports < text < app < cli | gui.
# cli and gui sit side by side: neither may include the other.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"

rank() {
  case "$1" in
    astro) echo 0 ;;
    reports) echo 1 ;;
    text) echo 2 ;;
    app) echo 3 ;;
    cli | gui) echo 4 ;;
    *) echo -1 ;;
  esac
}

status=0
while IFS= read -r -d '' file; do
  layer="${file#"$src"/}"
  layer="${layer%%/*}"
  own=$(rank "$layer")
  if [ "$own" -lt 0 ]; then
    echo "check_layers: $file: folder '$layer' belongs to no layer"
    status=1
    continue
  fi
  while IFS= read -r line; do
    target="${line#*\"}"
    target="${target%%/*}"
    other=$(rank "$target")
    [ "$other" -lt 0 ] && continue  # a header of the same folder or a library
    if [ "$other" -gt "$own" ] || { [ "$other" -eq 4 ] && [ "$target" != "$layer" ]; }; then
      echo "check_layers: ${file#"$src"/} ($layer) includes $target: ${line}"
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

[ "$status" -eq 0 ] && echo "check_layers: no upward include"
exit "$status"
