#!/bin/bash
# Regenerates every picture, sound and icon in resources/ from scratch, and the
# per-language resource script from resources/translations.tsv.
# Needs only Debian packages: python3 (/usr/bin/python3), python3-pil,
# python3-numpy and fonts-liberation2.  Output is deterministic.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
py=/usr/bin/python3
cd "$here"
"$py" small_pictures.py
"$py" backgrounds.py
"$py" sounds.py
"$py" icon.py
"$py" translations.py
"$py" check.py
echo "resources regenerated under $(cd "$here/../.." && pwd)/resources"
