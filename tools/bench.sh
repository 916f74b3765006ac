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

# Targets of an earlier run are linked afresh when the program has been built again since: the
# targets are always today's program (its icon's sizes decide how its icon is read).
for target in "$work"/targets/t*.exe; do
  [ -e "$target" ] && { [ "$target" -ef "$build/bin/recorder.exe" ] || ln -f "$build/bin/recorder.exe" "$target"; }
done

# Every run starts with the launcher's own settings, as a new user's would: the tests share this
# Wine prefix and leave theirs (a view other than Large Icons, another window size), and under
# Wine a 10,000-item list in Small Icons costs about half a second more to lay out and paint.
default_settings() {  # dpi
  OL_DPI=$1 "$runner" reg delete 'HKCU\Software\Nettlewick\Orbels Launch' /f >/dev/null 2>&1 || true
}
default_settings 96
default_settings 144

declare -A startup_of

row() {  # dpi count kind modes...
  local dpi=$1 count=$2 kind=$3
  shift 3
  local file="$work/catalogue-$count-$kind.olf"
  [ -f "$file" ] || make_catalogue "$count" "$kind" "$file"
  local wine_file
  wine_file=$(unix_to_wine "$file")
  for mode in "$@"; do
    # The launcher rewrites its data file at exit: give it a copy; every start here is a first one.
    cp "$file" "$work/run.olf"
    rm -f "$work/LaunchIcons.cache"
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

# The icons arriving from their own threads: the first screen's icons, every icon, and the
# longest wait of a message on the window's thread meanwhile, beside the targets. A first start
# (no icon cache) on one thread and on every core (at most four), then a second start with the
# cache the first one wrote; at 96 DPI, and a first start on the display scaled to 150 %.
cores=$(nproc)
threads_all=$(( cores < 4 ? cores : 4 ))
printf '\n%-4s %-8s %-9s %8s %-14s %16s %13s %16s %14s\n' dpi mode targets records start first_screen_ms all_icons_ms longest_wait_ms peak_kib
arrival() {  # dpi count threads kind(first|second)
  local dpi=$1 count=$2 threads=$3 kind=$4
  cp "$work/catalogue-$count-distinct.olf" "$work/run.olf"
  [ "$kind" = first ] && rm -f "$work/LaunchIcons.cache"
  read -r m records first all wait peak < <(OL_DPI=$dpi "$runner" "$bench" arrival "$(unix_to_wine "$work/run.olf")" "$threads" | tr -d '\r')
  printf '%-4s %-8s %-9s %8s %-14s %16s %13s %16s %14s\n' "$dpi" "$m" distinct "$records" "$kind, $threads thr" "$first" "$all" "$wait" "$peak"
  local items=${startup_of["$dpi items $count distinct"]} pixels=${startup_of["$dpi pixels $count distinct"]}
  if [ "$kind" = first ]; then
    awk -v f="$first" -v a="$all" -v w="$wait" -v i="$items" -v p="$pixels" -v t="$threads" 'BEGIN {
      printf "              targets: first screen %.0f <= items + 500 = %.0f; all icons %.2f x (pixels + items), at most 1.10%s; longest wait %.0f, at most 100\n",
        f, i + 500, a / (p + i), (t > 1 ? " (0.75 on two cores unless Wine serialises the extraction)" : ""), w }'
  else
    local budget=$(( count >= 10000 ? 1000 : 300 ))
    awk -v f="$first" -v a="$all" -v w="$wait" -v i="$items" -v b="$budget" 'BEGIN {
      printf "              targets: first screen %.0f <= items + 200 = %.0f; all icons %.0f <= items + %d = %.0f; longest wait %.0f, at most 100\n",
        f, i + 200, a, b, i + b, w }'
    # The cache's size: a header, each distinct picture once, an entry per target.
    local size pictures entries
    size=$(stat -c %s "$work/LaunchIcons.cache")
    pictures=$(od -An -tu4 -j20 -N4 "$work/LaunchIcons.cache" | tr -d ' ')
    entries=$(od -An -tu4 -j24 -N4 "$work/LaunchIcons.cache" | tr -d ' ')
    echo "              cache: $size bytes, $entries targets, $pictures distinct picture(s) of $(( (32 * 32 + 16 * 16) * 4 + 4 * 32 + 2 * 16 )) bytes at 96 DPI"
  fi
}
for count in 1000 10000; do
  arrival 96 "$count" 1 first
  arrival 96 "$count" "$threads_all" first
  arrival 96 "$count" "$threads_all" second
done
arrival 144 1000 "$threads_all" first
