#!/usr/bin/env bash
# The start-up benchmark (`make bench`): builds catalogues of 0, 1,000 and 10,000 program
# shortcuts, to distinct targets (hard links to one small program with an icon) and to the
# same few targets, and measures the launcher beside the extraction floor (alone, and with
# each icon's pixels read), the list items alone, and a bare program; and 1,000 programs
# dropped on the empty list at once.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows
runner="$build/wine-run.sh"
bench="$build/bin/startup_bench.exe"
work="$build/bench"
mkdir -p "$work/targets"

unix_to_wine() { echo "Z:$(realpath "$1" | sed 's|/|\\|g')"; }

make_catalogue() {  # count kind file
  local count=$1 kind=$2 file=$3
  : > "$file"
  for ((i = 0; i < count; i++)); do
    local target
    if [ "$kind" = distinct ]; then target="$work/targets/t$i.exe"; else target="$work/targets/t$((i % 4)).exe"; fi
    [ -e "$target" ] || ln "$build/bin/recorder.exe" "$target"
    printf 'SC_NAME=P%05d\r\nSC_TYPE=PROGRAM\r\nSC_PATH=%s\r\nSC_CMLN=\r\n' "$i" "$(unix_to_wine "$target")" >> "$file"
  done
}

printf '%-8s %-9s %8s %12s %12s %14s\n' mode targets records startup_ms shutdown_ms peak_kib
for count in 0 1000 10000; do
  for kind in distinct same; do
    [ "$count" = 0 ] && [ "$kind" = same ] && continue
    file="$work/catalogue-$count-$kind.olf"
    [ -f "$file" ] || make_catalogue "$count" "$kind" "$file"
    wine_file=$(unix_to_wine "$file")
    modes="app floor pixels items bare"
    # Dropping programs: 1,000 distinct ones on an empty list, from the drop to idle.
    [ "$count" = 1000 ] && [ "$kind" = distinct ] && modes="$modes drop"
    for mode in $modes; do
      # The launcher rewrites its data file at exit: give it a copy.
      cp "$file" "$work/run.olf"
      arg="$wine_file"; [ "$mode" = app ] && arg=$(unix_to_wine "$work/run.olf")
      read -r m records startup shutdown peak < <("$runner" "$bench" "$mode" "$arg" | tr -d '\r')
      printf '%-8s %-9s %8s %12s %12s %14s\n' "$m" "$kind" "$records" "$startup" "$shutdown" "$peak"
    done
  done
done
