#!/usr/bin/env bash
# Checks that `make dist` is reproducible: two fresh clones of the current commit, built one
# after the other (so at different times, in different folders, the second with another time
# zone and umask), must give byte-identical files, the winget manifests among them; then reads
# the manifests back and checks them against the installer. Uncommitted changes are not part of it.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)
common_dir=$(cd "$repo" && cd "$(git rev-parse --git-common-dir)" && pwd)
work=$(mktemp -d /tmp/ol-dist-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

build_clone() {
  local dir=$1
  git clone --quiet --no-checkout "$common_dir" "$dir"
  git -C "$dir" checkout --quiet --detach "$commit"
  make -C "$dir" dist > "$dir.log" 2>&1 || { tail -n 40 "$dir.log"; return 1; }
}

echo "Building $commit in $work/first ..."
build_clone "$work/first"
echo "Building $commit in $work/second-clone (TZ=Pacific/Auckland, umask 077) ..."
(umask 077; TZ=Pacific/Auckland build_clone "$work/second-clone")

echo "first:"; cat "$work/first/build/dist/SHA256SUMS"
echo "second:"; cat "$work/second-clone/build/dist/SHA256SUMS"
if diff -r "$work/first/build/dist" "$work/second-clone/build/dist" > /dev/null; then
  echo "dist-check: the two builds are identical"
else
  echo "dist-check: the two builds differ" >&2
  diff -rq "$work/first/build/dist" "$work/second-clone/build/dist" >&2 || true
  exit 1
fi
python3 "$work/first/packaging/check_winget_manifests.py" "$work/first/build/dist" "$work/first"
