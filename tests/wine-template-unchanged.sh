#!/usr/bin/env bash
# Run after every suite: the template prefix holds the files it held when it
# was made, each with the same SHA-256. A suite's prefix shares the template's
# files through hard links (copy_prefix), so a file that Wine or a program
# wrote in place there would show here, named.
# Usage: wine-template-unchanged.sh WINE_DIR
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
run_within_time_limit "$0" "$@"

template=$1/template hashes=$1/template.sha256
[[ -f $hashes ]] || { echo "No hashes of the template ($hashes): wine_template did not run." >&2 && exit 1; }
if ! changes=$(diff "$hashes" <(prefix_hashes "$template")); then
  echo "The template's files changed while the suites ran (< as made, > now):" >&2
  echo "$changes" >&2
  echo "A suite wrote them in place through its prefix's hard links: copy that file in copy_prefix" \
    "(tools/wine/wine.sh). rm -rf $1 makes the template again." >&2
  exit 1
fi
echo "The template's $(wc -l <"$hashes") files are as they were made."
