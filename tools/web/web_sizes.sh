#!/usr/bin/env bash
# Prints each file of the served page in bytes, raw and compressed with
# gzip -9 (as a server would send it), and the totals.
# Usage: tools/web/web_sizes.sh [SITE_FOLDER]   (default build/web/site)
set -euo pipefail
site=${1:-build/web/site}
cd "$site"
printf '%-28s %10s %10s\n' file raw gzip-9
raw_total=0
gzip_total=0
while IFS= read -r name; do
  raw=$(stat -c %s "$name")
  packed=$(gzip -9 -c "$name" | wc -c)
  printf '%-28s %10d %10d\n' "$name" "$raw" "$packed"
  raw_total=$((raw_total + raw))
  gzip_total=$((gzip_total + packed))
done < <(find . -type f -printf '%P\n' | sort)
printf '%-28s %10d %10d\n' total "$raw_total" "$gzip_total"
