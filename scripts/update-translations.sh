#!/usr/bin/env bash
# Brings translations/pelkora_*.ts up to date with the texts in the sources: new texts come in
# unfinished, texts gone from the sources go. The completeness test runs the same command.
# scripts/update-translations.sh [lupdate]
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${1:-$(command -v lupdate-qt6 || echo /usr/lib/qt6/bin/lupdate)}
# PK_TR and PK_TR_NOOP are the core's QT_TRANSLATE_NOOP: the core has no Qt to include.
exec "$lupdate" -silent -no-obsolete -locations none -tr-function-alias QT_TRANSLATE_NOOP+=PK_TR,QT_TRANSLATE_NOOP+=PK_TR_NOOP \
    -extensions cpp,h src -ts translations/pelkora_*.ts
