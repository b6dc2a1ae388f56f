#!/usr/bin/env bash
# Takes the screenshots of tools/screenshots/screenshots.sh in every language of
# resources/translations.tsv into docs/screenshots/<language>/, at level 10,
# whose questions ("from now", "in the past") are the longest.
# Usage: tools/screenshots/language_screenshots.sh path/to/horalia
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:?usage: $0 path/to/horalia}

# A locale that picks each language of the table's first row.
locale_of() {
  case "$1" in
    en) echo en_US.UTF-8 ;;
    *_*) echo "$1.UTF-8" ;;
    *) echo "${1}_$(echo "$1" | tr a-z A-Z).UTF-8" ;;
  esac
}

for language in $(head -1 resources/translations.tsv | cut -f2-); do
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$(locale_of "$language")" \
    tools/screenshots/screenshots.sh "$program" "docs/screenshots/$language" 10
  echo "$language: docs/screenshots/$language/{title,game,level}.png"
done
