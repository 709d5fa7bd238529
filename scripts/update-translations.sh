#!/usr/bin/env bash
# Brings the catalogues in line with the sources, with the options the
# catalogue test checks them with. A text that only moved to another class
# keeps its translation; a new one comes in unfinished, for a translator.
#   scripts/update-translations.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for ts in translations/tapewren_*.ts; do
  # English is the source language: its catalogue holds the plural forms alone.
  only=()
  [ "$ts" = translations/tapewren_en.ts ] && only=(-pluralonly)
  old=$(mktemp)
  cp "$ts" "$old"
  /usr/lib/qt6/bin/lupdate -silent -no-obsolete -locations none "${only[@]}" \
    app audio core dialogs platform save ui wizard -ts "$ts" >/dev/null
  python3 - "$old" "$ts" <<'PY'
import copy
import sys
import xml.etree.ElementTree as ET
old, new = sys.argv[1], sys.argv[2]

def whole(element):
    # A carriage return is a <byte> element: findtext() would stop there.
    return ET.tostring(element, encoding="unicode").split(">", 1)[1].rsplit("<", 1)[0]

known = {}
for message in ET.parse(old).getroot().iter("message"):
    translation = message.find("translation")
    if translation is not None and translation.get("type") is None and whole(translation):
        known.setdefault(whole(message.find("source")), translation)
text = open(new, encoding="utf-8").read()
tree = ET.parse(new)
for message in tree.getroot().iter("message"):
    translation = message.find("translation")
    source = whole(message.find("source"))
    if translation is not None and translation.get("type") == "unfinished" and source in known:
        index = list(message).index(translation)
        message.remove(translation)
        message.insert(index, copy.deepcopy(known[source]))
body = ET.tostring(tree.getroot(), encoding="unicode")
head = text[: text.index("<TS")]
open(new, "w", encoding="utf-8").write(head + body + "\n")
PY
  rm -f "$old"
  # lupdate's own layout, so that the catalogue test sees no difference.
  /usr/lib/qt6/bin/lupdate -silent -no-obsolete -locations none "${only[@]}" \
    app audio core dialogs platform save ui wizard -ts "$ts" >/dev/null
done
grep -c 'type="unfinished"' translations/tapewren_*.ts || true
