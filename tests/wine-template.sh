#!/usr/bin/env bash
# Makes the template Wine prefix that every suite copies; its first start is paid once.
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
run_within_time_limit "$0" "$@"
make_prefix "$1/template" unattended
