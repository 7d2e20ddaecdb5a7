#!/usr/bin/env bash
# Runs a command under a Unix locale whose Windows ANSI code page is double-
# byte: Wine takes the ANSI code page from the locale. The locale is compiled
# into build/ once, so the machine needs no locale of its own.
# Usage: code-page.sh LOCALE_DIR COMMAND...
set -euo pipefail
localeDir=$1
shift
if [[ ! -d $localeDir/ja_JP.UTF-8 ]]; then
  mkdir -p "$localeDir"
  localedef -i ja_JP -f UTF-8 "$localeDir/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
LOCPATH=$localeDir LC_ALL=ja_JP.UTF-8 TOVIX_CODE_PAGE=932 "$@"
