#!/usr/bin/env bash
# Native fixture step before a Wine test program: empties its fixture folder and
# optionally runs a maker (sox, lame, mutagen) that puts inputs there:
#   fresh-folder.sh <folder> [maker args...]   (the maker gets the folder last)
set -euo pipefail
dir="$1"; shift
rm -rf "$dir"
mkdir -p "$dir"
if [ $# -gt 0 ]; then "$@" "$dir"; fi
