#!/usr/bin/env bash
# The start-up benchmark (`make bench`): builds catalogues of 0, 1,000 and 10,000 program
# shortcuts, to distinct targets (hard links to one small program with an icon) and to the
# same few targets, and measures the launcher beside the extraction floor (alone, and with
# each icon's pixels read), the list items alone, and a bare program; 1,000 programs dropped on
# the empty list at once; then 1,000 distinct targets again on a display scaled to 150 %
# (144 DPI), where every icon is 48 and 24 pixels.
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

declare -A startup_of

row() {  # dpi count kind modes...
  local dpi=$1 count=$2 kind=$3
  shift 3
  local file="$work/catalogue-$count-$kind.olf"
  [ -f "$file" ] || make_catalogue "$count" "$kind" "$file"
  local wine_file
  wine_file=$(unix_to_wine "$file")
  for mode in "$@"; do
    # The launcher rewrites its data file at exit: give it a copy.
    cp "$file" "$work/run.olf"
    local arg="$wine_file"
    [ "$mode" = app ] && arg=$(unix_to_wine "$work/run.olf")
    read -r m records startup shutdown peak < <(OL_DPI=$dpi "$runner" "$bench" "$mode" "$arg" | tr -d '\r')
    startup_of["$dpi $m $count $kind"]=$startup
    printf '%-4s %-8s %-9s %8s %12s %12s %14s\n' "$dpi" "$m" "$kind" "$records" "$startup" "$shutdown" "$peak"
  done
}

printf '%-4s %-8s %-9s %8s %12s %12s %14s\n' dpi mode targets records startup_ms shutdown_ms peak_kib
for count in 0 1000 10000; do
  for kind in distinct same; do
    [ "$count" = 0 ] && [ "$kind" = same ] && continue
    modes="app floor pixels items bare"
    # Dropping programs: 1,000 distinct ones on an empty list, from the drop to idle.
    [ "$count" = 1000 ] && [ "$kind" = distinct ] && modes="$modes drop"
    # shellcheck disable=SC2086
    row 96 "$count" "$kind" $modes
  done
done
row 144 1000 distinct app floor pixels items

# The icons arriving from their own thread: the first screen's icons, every icon, and the
# longest wait of a message on the window's thread meanwhile, beside the targets; at 96 DPI
# and again on the display scaled to 150 %.
printf '\n%-4s %-8s %-9s %8s %16s %13s %16s %14s\n' dpi mode targets records first_screen_ms all_icons_ms longest_wait_ms peak_kib
for run in "96 1000" "96 10000" "144 1000"; do
  read -r dpi count <<< "$run"
  cp "$work/catalogue-$count-distinct.olf" "$work/run.olf"
  read -r m records first all wait peak < <(OL_DPI=$dpi "$runner" "$bench" arrival "$(unix_to_wine "$work/run.olf")" | tr -d '\r')
  printf '%-4s %-8s %-9s %8s %16s %13s %16s %14s\n' "$dpi" "$m" distinct "$records" "$first" "$all" "$wait" "$peak"
  items=${startup_of["$dpi items $count distinct"]}
  pixels=${startup_of["$dpi pixels $count distinct"]}
  awk -v f="$first" -v a="$all" -v w="$wait" -v i="$items" -v p="$pixels" 'BEGIN {
    printf "              targets: first screen %.0f <= items + 500 = %.0f; all icons %.2f x (pixels + items), at most 1.10; longest wait %.0f, at most 100\n", f, i + 500, a / (p + i), w }'
done
