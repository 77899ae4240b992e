#!/bin/sh
# Checks that LibreOffice reads back the RTF our writer produces (local only, not part of CTest).
#
#   tests/interop/check-libreoffice.sh [path/to/rtfinterop]
#
# For every fixture under tests/data/rtf/interop/ (and the RTF fuzz seeds), rtfinterop reads it with
# our reader and writes it again with our writer; LibreOffice converts our RTF to text, which must
# equal the text we hold. Our version of the LibreOffice fixture is also converted to HTML, which
# must show its formatting, lists, link and pictures. Skips when soffice is not installed.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=${1:-$root/build/tests/interop/rtfinterop}
if ! command -v soffice >/dev/null 2>&1; then
    echo "SKIP: soffice not installed"
    exit 0
fi
if [ ! -x "$tool" ]; then
    echo "rtfinterop not found at $tool (build the rtfinterop target, or pass its path)" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# ---- text: what LibreOffice reads from our RTF is what we hold
for input in "$root"/tests/data/rtf/interop/*.rtf "$root"/fuzz/corpus/rtf/*.rtf; do
    name=$(basename "$input" .rtf)
    "$tool" "$input" "$work/$name.rtf" "$work/$name.ours" 2>/dev/null || { fail "$name: rtfinterop failed"; continue; }
done
(cd "$work" && soffice --headless --convert-to "txt:Text (encoded):UTF8" ./*.rtf >/dev/null 2>&1)
for ours in "$work"/*.ours; do
    name=$(basename "$ours" .ours)
    theirs="$work/$name.txt"
    [ -f "$theirs" ] || { fail "$name: LibreOffice wrote no text"; continue; }
    # LibreOffice starts its text with a signature and writes the labels of list items itself
    # (indented, when a label has no punctuation); a document that ends with a table gets an empty
    # paragraph after it. Empty lines at the end are no text.
    sed -e '1s/^\xef\xbb\xbf//' -e 's/^ *\(•\|◦\|▪\|–\|[0-9]\+[.)]\|[a-zA-Z][.)]\|([0-9a-zA-Z]\+)\|[ivxIVX]\+[.)]\) //' \
        -e 's/^ \{4,\}[0-9A-Za-z]\+ //' "$theirs" | sed -e ':a' -e '/^[[:space:]]*$/{$d;N;ba' -e '}' >"$theirs.norm"
    sed -e ':a' -e '/^[[:space:]]*$/{$d;N;ba' -e '}' "$ours" >"$ours.trimmed"
    if diff -u "$ours.trimmed" "$theirs.norm" >"$work/$name.diff"; then
        echo "ok: $name"
    else
        fail "$name: LibreOffice reads other text"
        cat "$work/$name.diff"
    fi
done

# ---- formatting: our version of the LibreOffice fixture, as LibreOffice shows it in HTML
"$tool" "$root/tests/data/rtf/interop/libreoffice.rtf" "$work/formatted.rtf" "$work/formatted.ours" 2>/dev/null
(cd "$work" && soffice --headless --convert-to html formatted.rtf >/dev/null 2>&1)
html="$work/formatted.html"
expect() {
    if grep -q -- "$1" "$html"; then echo "ok: $2"; else fail "$2 (no '$1' in the HTML)"; fi
}
expect '<b>tučným</b>' "bold"
expect '<i>\(<span[^>]*>\)\?kurzívou' "italic"
expect '<u>\(<span[^>]*>\)\?podtrženým' "underline"
expect 'color="#ff0000"' "text colour"
expect 'face="Courier New' "font face"
expect 'align="center"' "centred paragraph"
expect 'align="justify"' "justified paragraph"
expect '<ul>' "bulleted list"
expect '<ol>' "numbered list"
expect 'href="http://www.example.cz/stranka"' "hyperlink"
expect '<img src="[^"]*\.png"' "PNG picture"
expect '<img src="[^"]*\.jpg"' "JPEG picture"
[ "$(grep -c '<li' "$html")" -ge 5 ] && echo "ok: five list items" || fail "list items"

# ---- LISTS: the numbers LibreOffice shows on our RTF of the list fixtures equal those it shows on
# the originals (labels drawn by LibreOffice, or numbers that the original holds as text).
mkdir -p "$work/lists-original"
cp "$root"/tests/data/rtf/interop/lists-*.rtf "$work/lists-original/"
(cd "$work/lists-original" && soffice --headless --convert-to "txt:Text (encoded):UTF8" ./*.rtf >/dev/null 2>&1)
list_labels() {
    sed -e '1s/^\xef\xbb\xbf//' -e 's/ *$//' "$1" |
        sed -n -e 's/^ \{1,\}\([^ ]\{1,\}\) \(.*\)$/\1 \2/p' -e 's/^\([^ 	]\{1,6\}\)	\(.*\)$/\1 \2/p'
}
for original in "$work"/lists-original/lists-*.txt; do
    name=$(basename "$original" .txt)
    ours="$work/$name.txt"
    [ -f "$ours" ] || { fail "$name: LibreOffice wrote no text of our RTF"; continue; }
    list_labels "$original" >"$work/$name.labels-original"
    list_labels "$ours" >"$work/$name.labels-ours"
    shown=$(cut -d' ' -f1 "$work/$name.labels-ours" | tr '\n' ' ')
    # A multi-level number ("2.1.") is one number per paragraph to us: the level's own ("1.").
    sed 's/^\([0-9]\{1,\}\.\)\{1,\}\([0-9]\{1,\}\.\) /\2 /' "$work/$name.labels-original" >"$work/$name.labels-own"
    if diff -u "$work/$name.labels-original" "$work/$name.labels-ours" >"$work/$name.labels-diff"; then
        echo "ok: $name: LibreOffice numbers our RTF as the original: $shown"
    elif diff -q "$work/$name.labels-own" "$work/$name.labels-ours" >/dev/null; then
        echo "ok: $name: LibreOffice numbers our RTF as the original, multi-level numbers as their level's own: $shown"
        grep '^-[^-]' "$work/$name.labels-diff" | sed 's/^-/  original: /' | tr '\n' ';' && echo
    else
        fail "$name: LibreOffice numbers our RTF otherwise (- original, + ours)"
        grep '^[-+][^-+]' "$work/$name.labels-diff"
    fi
done
# ---- end LISTS

# ---- TABLES: the rows and cells LibreOffice reads from our RTF of the table fixtures (one table
# each, its cells' text per row), and from a document that ends with a row
printf '{\\rtf1\\ansi Before\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row}' >"$work/tableatend.in"
"$tool" "$work/tableatend.in" "$work/tableatend.rtf" "$work/tableatend.ours" 2>/dev/null
for name in table-libreoffice table-abiword table-pandoc; do
    "$tool" "$root/tests/data/rtf/interop/$name.rtf" "$work/ours-$name.rtf" "$work/ours-$name.txt" 2>/dev/null
done
(cd "$work" && soffice --headless --convert-to html ours-table-*.rtf tableatend.rtf >/dev/null 2>&1)
tables() {  # one line per row: "tables:N [cell] [cell] ...", the cells' text with spaces collapsed
    python3 - "$1" <<'PY'
import html, re, sys
page = open(sys.argv[1], encoding="utf-8", errors="replace").read()
tables = re.findall(r"<table.*?</table>", page, re.S)
for tr in re.findall(r"<tr.*?</tr>", page, re.S):
    cells = [" ".join(html.unescape(re.sub(r"<[^>]+>", " ", td)).split()) for td in re.findall(r"<t[dh][ >].*?</t[dh]>", tr, re.S)]
    print("tables:%d %s" % (len(tables), " ".join("[%s]" % c for c in cells)))
PY
}
expect_rows() {  # file, expected rows
    got=$(tables "$work/$1.html")
    echo "$got" | sed "s/^/  $1: /"
    if [ "$got" = "$2" ]; then echo "ok: $1 table rows and cells"; else fail "$1 table rows and cells"; fi
}
if command -v python3 >/dev/null 2>&1; then
    rows='tables:1 [Zboží] [Počet] [Poznámka]
tables:1 [Židle] [12] [První odstavec. Druhý odstavec.]
tables:1 [Stůl] [] [Viz katalog]'
    expect_rows ours-table-libreoffice "$rows"
    expect_rows ours-table-pandoc "$rows"
    expect_rows ours-table-abiword "$rows"
    expect_rows tableatend "tables:1 [A] [B]"
    grep -q '<b>12</b>' "$work/ours-table-libreoffice.html" && echo "ok: bold text in a cell" || fail "bold text in a cell"
    grep -q 'href="http://www.example.cz/stoly"' "$work/ours-table-libreoffice.html" &&
        echo "ok: link in a cell" || fail "link in a cell"
    grep -q '<td[^>]*style="border: [0-9.]*px solid' "$work/ours-table-libreoffice.html" &&
        echo "ok: cell borders" || fail "cell borders"
    grep -q '<td[^>]*style="border-top: none; border-bottom: [0-9.]*px solid[^>]*border-left: none' \
        "$work/ours-table-pandoc.html" && echo "ok: bottom borders only" || fail "bottom borders only"
else
    echo "SKIP: TABLES checks need python3"
fi
# ---- end TABLES

# ---- STYLES/EFFECTS: headings keep their levels, effects their look, hidden text stays hidden
for name in headings-libreoffice headings-abiword headings-pandoc; do
    "$tool" "$root/tests/data/rtf/interop/$name.rtf" "$work/styled-$name.rtf" "$work/styled-$name.ours" 2>/dev/null
done
(cd "$work" && soffice --headless --convert-to html ./styled-headings-*.rtf >/dev/null 2>&1)
headings="h1 Výroční zpráva|h2 Hospodaření|h3 Příjmy z prodeje|h3 Ostatní příjmy|h2 Výhled|"
for name in headings-libreoffice headings-abiword headings-pandoc; do
    html="$work/styled-$name.html"
    # LibreOffice shows each heading as <hN>; its text is what the tags hold.
    found=$(perl -0777 -ne 'while (/<h([1-6])[^>]*>(.*?)<\/h\1>/sg) { my ($l, $t) = ($1, $2);
        $t =~ s/<[^>]*>//g; $t =~ s/\s+/ /g; $t =~ s/^ | $//g; print "h$l $t|" }' "$html")
    if [ "$found" = "$headings" ]; then
        echo "ok: $name: $found"
    else
        fail "$name: headings '$found', expected '$headings'"
    fi
done
"$tool" "$root/tests/data/rtf/interop/effects-source.rtf" "$work/effects.rtf" "$work/effects.ours" 2>/dev/null
(cd "$work" && soffice --headless --convert-to fodt effects.rtf >/dev/null 2>&1 &&
    soffice --headless --convert-to pdf effects.rtf >/dev/null 2>&1)
fodt="$work/effects.fodt"
expect_fodt() {
    if grep -q -- "$1" "$fodt"; then echo "ok: $2"; else fail "$2 (no '$1' in the .fodt)"; fi
}
expect_fodt 'text:display="none"' "hidden text kept as hidden"
expect_fodt 'fo:font-variant="small-caps"' "small capitals"
expect_fodt 'fo:text-transform="uppercase"' "all capitals"
expect_fodt 'style:text-outline="true"' "outline"
expect_fodt 'fo:text-shadow="1pt 1pt"' "shadow"
expect_fodt 'style:font-relief="engraved"' "imprint"
expect_fodt 'style:text-underline-type="double"' "double underline"
expect_fodt 'style:text-underline-style="wave"' "wave underline"
expect_fodt 'style:text-underline-style="dotted"' "dotted underline"
if command -v pdftotext >/dev/null 2>&1; then
    printed=$(pdftotext "$work/effects.pdf" - 2>/dev/null)
    case "$printed" in
    *"Viditelný text pokračuje."*) echo "ok: hidden text not printed" ;;
    *) fail "hidden text printed: $(echo "$printed" | grep Viditeln)" ;;
    esac
fi
# LibreOffice 7.4 reads neither \embo nor \protect nor \ulc (its own RTF of the source loses them
# too), so emboss, protection and underline colours are not checked here.

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
