#!/usr/bin/env bash
# Makes the template Wine prefix that every suite's prefix shares (copy_prefix);
# its first start is paid once. When it makes the template it notes the SHA-256
# of each of its files, which tests/wine-template-unchanged.sh compares with
# what the template holds after the suites.
# Usage: wine-template.sh WINE_DIR
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
run_within_time_limit "$0" "$@"

template=$1/template hashes=$1/template.sha256
[[ -f $template/system.reg ]] && ! prefix_outdated "$template" || rm -f "$hashes"
make_prefix "$template" unattended
[[ -f $hashes ]] || prefix_hashes "$template" >"$hashes"
