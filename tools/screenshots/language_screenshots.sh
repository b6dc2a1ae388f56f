#!/usr/bin/env bash
# Takes the screenshots of tools/screenshots/screenshots.sh in every language of
# resources/translations.tsv into docs/screenshots/<language>/, at level 10,
# whose questions ("from now", "in the past") are the longest.
# Usage: tools/screenshots/language_screenshots.sh path/to/horalia
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:?usage: $0 path/to/horalia}

# The locale that picks each language, as resources/languages.h lists it.
locale_of() {
  sed -n 's/.*{"'"$1"'", "\([^"]*\)".*/\1/p' resources/languages.h
}

for language in $(head -1 resources/translations.tsv | cut -f2-); do
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$(locale_of "$language")" \
    tools/screenshots/screenshots.sh "$program" "docs/screenshots/$language" 10
  echo "$language: docs/screenshots/$language/{title,game,level}.png"
done
