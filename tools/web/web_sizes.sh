#!/usr/bin/env bash
# Prints each file of the served page in bytes, raw and compressed with
# gzip -9 (as a server would send it), and what a first visit downloads in
# each language: every file that each visit needs (as sw.js lists them), with
# that language's own words, pack (languages/<language>.res) and manifest.
# Fails when a first visit in any language is over the page's budget: 1 MB
# raw, 450 KB compressed.
# Usage: tools/web/web_sizes.sh [SITE_FOLDER]   (default build/web/site)
set -euo pipefail
site=${1:-build/web/site}
cd "$site"
RAW_BUDGET=1000000
GZIP_BUDGET=450000

declare -A raw packed
printf '%-30s %10s %10s\n' file raw gzip-9
while IFS= read -r name; do
  raw[$name]=$(stat -c %s "$name")
  packed[$name]=$(gzip -9 -c "$name" | wc -c)
  printf '%-30s %10d %10d\n' "$name" "${raw[$name]}" "${packed[$name]}"
done < <(find . -type f -printf '%P\n' | sort)

# What every visit needs, as the offline worker lists it.
common_raw=0
common_gzip=0
for name in $(sed -n 's/^const EVERY_VISIT = \[\(.*\)\];$/\1/p' sw.js | tr -d '" ' | tr ',' ' ') sw.js; do
  common_raw=$((common_raw + raw[$name]))
  common_gzip=$((common_gzip + packed[$name]))
done
printf '\n%-30s %10d %10d\n' "every visit" "$common_raw" "$common_gzip"

over=0
for manifest in manifests/*.webmanifest; do
  language=$(basename "$manifest" .webmanifest)
  words=words/$language.js
  visit_raw=$((common_raw + raw[$manifest] + raw[$words]))
  visit_gzip=$((common_gzip + packed[$manifest] + packed[$words]))
  pack=languages/$language.res
  if [ -n "${raw[$pack]:-}" ]; then
    visit_raw=$((visit_raw + raw[$pack]))
    visit_gzip=$((visit_gzip + packed[$pack]))
  fi
  printf '%-30s %10d %10d\n' "first visit in $language" "$visit_raw" "$visit_gzip"
  if [ "$visit_raw" -ge $RAW_BUDGET ] || [ "$visit_gzip" -ge $GZIP_BUDGET ]; then
    echo "over the page's budget ($RAW_BUDGET raw, $GZIP_BUDGET compressed): $language" >&2
    over=1
  fi
done
exit $over
