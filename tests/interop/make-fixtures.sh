#!/bin/sh
# Regenerates the RTF fixtures under tests/data/rtf/interop/ from source.html with LibreOffice,
# AbiWord and pandoc (local use only: apt-get install libreoffice-writer-nogui abiword pandoc).
# The committed fixtures were made with LibreOffice 7.4.7, AbiWord 3.0.5 and pandoc 2.17.1.
set -eu
dir=$(cd "$(dirname "$0")/../data/rtf/interop" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir/source.html" "$dir/pic.png" "$dir/pic.jpg" "$work/"
cd "$work"
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo source.html >/dev/null
cp lo/source.rtf "$dir/libreoffice.rtf"
abiword --to=rtf --to-name=abiword.rtf source.html
cp abiword.rtf "$dir/abiword.rtf"
pandoc source.html -s -o pandoc.rtf
cp pandoc.rtf "$dir/pandoc.rtf"

# ---- LISTS: restarting, starting at 5 and nested lists (lists.html) as each program writes them.
# LibreOffice's HTML import puts a nested <ul> on the numbered list's own level, so the second
# LibreOffice fixture goes through pandoc's ODT, which keeps the hollow bullet of the nested list.
cp "$dir/lists.html" "$work/"
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo lists.html >/dev/null
cp lo/lists.rtf "$dir/lists-libreoffice.rtf"
pandoc lists.html -s -o lists-via-pandoc.odt
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo lists-via-pandoc.odt >/dev/null
cp lo/lists-via-pandoc.rtf "$dir/lists-libreoffice-odt.rtf"
abiword --to=rtf --to-name=lists-abiword.rtf lists.html
cp lists-abiword.rtf "$dir/lists-abiword.rtf"
pandoc lists.html -s -o lists-pandoc.rtf
cp lists-pandoc.rtf "$dir/lists-pandoc.rtf"
# ---- end LISTS

# ---- TABLES: a letter with a table (header row, a cell of two paragraphs, an empty cell, bold
# text and a link in cells, borders)
cp "$dir/table-source.html" "$work/"
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo table-source.html >/dev/null
cp lo/table-source.rtf "$dir/table-libreoffice.rtf"
abiword --to=rtf --to-name=table-abiword.rtf table-source.html
cp table-abiword.rtf "$dir/table-abiword.rtf"
pandoc table-source.html -s -o table-pandoc.rtf
cp table-pandoc.rtf "$dir/table-pandoc.rtf"
# ---- end TABLES

# ---- STYLES/EFFECTS: a report with headings (levels 1 to 3) from headings.html, and character
# effects (hidden, capitals, outline, shadow, emboss, imprint, underline kinds and colours,
# protected) from the hand-written effects-source.rtf as LibreOffice writes them again.
cp "$dir/headings.html" "$dir/effects-source.rtf" "$work/"
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo headings.html >/dev/null
cp lo/headings.rtf "$dir/headings-libreoffice.rtf"
abiword --to=rtf --to-name=headings-abiword.rtf headings.html
cp headings-abiword.rtf "$dir/headings-abiword.rtf"
pandoc headings.html -s -o headings-pandoc.rtf
cp headings-pandoc.rtf "$dir/headings-pandoc.rtf"
mkdir effects && cp effects-source.rtf effects/effects.rtf
soffice --headless --convert-to "rtf:Rich Text Format" --outdir lo effects/effects.rtf >/dev/null
cp lo/effects.rtf "$dir/effects-libreoffice.rtf"

echo "fixtures written to $dir"
