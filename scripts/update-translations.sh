#!/usr/bin/env bash
# Brings the translation sources pelkora_*.ts up to date with the texts in the program's
# sources: new texts come in unfinished, texts gone from the sources go.
# scripts/update-translations.sh [FOLDER]   FOLDER holds the .ts files (default: translations)
# LUPDATE names the lupdate to run. The completeness test runs this on copies.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "${1:-$root/translations}" && pwd)
lupdate=${LUPDATE:-$(command -v lupdate-qt6 || echo /usr/lib/qt6/bin/lupdate)}
shopt -s nullglob
files=("$folder"/pelkora_*.ts)
if [ ${#files[@]} -eq 0 ]; then
    echo "no pelkora_*.ts in $folder" >&2
    exit 1
fi
cd "$root"
# PK_TR and PK_TR_NOOP are the core's QT_TRANSLATE_NOOP: the core has no Qt to include.
exec "$lupdate" -silent -no-obsolete -locations none \
    -tr-function-alias QT_TRANSLATE_NOOP+=PK_TR,QT_TRANSLATE_NOOP+=PK_TR_NOOP \
    -extensions cpp,h src -ts "${files[@]}"
