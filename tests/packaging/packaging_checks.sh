#!/usr/bin/env bash
# Checks of what is installed beside the programs. A check whose tool is missing exits 77 (skipped).
#   packaging_checks.sh version PROGRAM VERSION   --version names the program and VERSION, no display needed
#   packaging_checks.sh man-page PROGRAM PAGE.gz  the page lists exactly the options of PROGRAM --help
#   packaging_checks.sh completion PROGRAM FILE   bash completes the options and their values
#   packaging_checks.sh metainfo FILE             appstreamcli validate --no-net
#   packaging_checks.sh desktop-entry FILE        desktop-file-validate
set -uo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
need() { command -v "$1" >/dev/null || skip "$1 is not installed"; }

options_in() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }

check_version() {
  local program=$1 version=$2 out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) || fail "--version failed"
  [ "$out" = "$(basename "$program") (Spirelle) $version" ] || fail "--version printed '$out'"
}

check_man_page() {
  local program=$1 page=$2
  [ -f "$page" ] || skip "no manual page was made (help2man missing at build time)"
  diff <("$program" --help | options_in) <(gzip -dc "$page" | sed 's/\\-/-/g' | options_in) ||
    fail "the options of $(basename "$program") --help (<) and of its manual page (>) differ"
}

# Completes the last of the words after the program name; prints the offers on one line. Like
# readline, it splits "--option=value" into three words.
complete_words() {
  local word
  COMP_WORDS=("$program")
  for word in "$@"; do
    if [[ $word == --*=* ]]; then COMP_WORDS+=("${word%%=*}" "=" "${word#*=}"); else COMP_WORDS+=("$word"); fi
  done
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$program $*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _spirelle_render "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  echo "${COMPREPLY[*]}"
}

check_completion() {
  program=$1
  local file=$2 failed=0 row words expected got
  [ -r /usr/share/bash-completion/bash_completion ] || skip "bash-completion is not installed"
  # shellcheck disable=SC1091
  source /usr/share/bash-completion/bash_completion
  # shellcheck disable=SC1090
  source "$file"
  # words typed | the offers
  local rows=(
    "--sch|--scheme"
    "--grid --n|--numerals"
    "--scheme v|veltra"
    "--cell 7|7 75"
    "--shape ''|circles squares"
    "--show t|triangular"
    "--language=|en de"
    "--animate ''|in out"
    "--start ''|"
    "--mark-q|--mark-quadratic"
    "--show-if ''|"
  )
  for row in "${rows[@]}"; do
    eval "words=(${row%%|*})"
    expected=${row#*|}
    got=$(complete_words "${words[@]}")
    [ "$got" = "$expected" ] || { echo "'${row%%|*}': offered '$got', expected '$expected'"; failed=1; }
  done
  [ "$failed" -eq 0 ] || fail "completion"
}

case "${1:-}" in
  version) check_version "$2" "$3" ;;
  man-page) check_man_page "$2" "$3" ;;
  completion) check_completion "$2" "$3" ;;
  metainfo) need appstreamcli; appstreamcli validate --no-net "$2" || fail "metainfo" ;;
  desktop-entry) need desktop-file-validate; desktop-file-validate "$2" || fail "desktop entry" ;;
  *) echo "usage: $0 version|man-page|completion|metainfo|desktop-entry ..." >&2; exit 64 ;;
esac
