#!/bin/sh
# Remakes the LibreOffice samples of ../pass from the documents here (needs LibreOffice Writer;
# the tests themselves do not). Each document goes to ODT, then to RTF and to UTF-8 text.
set -e
cd "$(dirname "$0")"
out=$(mktemp -d)
for doc in *.html; do
  name=${doc%.html}
  cp "$doc" pic.png "$out/"
  (cd "$out" && soffice --headless --convert-to odt "$doc" >/dev/null &&
     soffice --headless --convert-to rtf "$name.odt" >/dev/null &&
     soffice --headless --convert-to "txt:Text (encoded):UTF8" "$name.odt" >/dev/null)
  cp "$out/$name.rtf" "../pass/lo-$name.rtf"
  cp "$out/$name.txt" "../pass/lo-$name.txt"
done
rm -rf "$out"
