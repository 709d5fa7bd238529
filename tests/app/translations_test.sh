#!/usr/bin/env bash
# The catalogues against the sources: every text that goes through tr()
# is in each .ts file, translated, and nothing gone from the sources stays.
set -uo pipefail
root=${1:?usage: translations_test.sh source-folder}
lupdate=/usr/lib/qt6/bin/lupdate
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=$((failed + 1)); fi
}

cd "$root" || exit 1
for ts in translations/tapewren_*.ts; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  # The same options the catalogues were made with: a new text comes in
  # unfinished, a vanished one goes, and either shows as a difference.
  "$lupdate" -silent -no-obsolete -locations none app audio core dialogs platform save ui wizard \
    -ts "$copy" >/dev/null 2>&1
  check "$ts holds exactly the texts of the sources" diff -u "$ts" "$copy"
  check "$ts has no unfinished or vanished translation" \
    bash -c "! grep -nE 'type=\"(unfinished|vanished|obsolete)\"' '$ts'"
  # Each translation keeps the source's placeholders (%1, %u) and its
  # accelerator, if it has one.
  check "$ts keeps placeholders and accelerators" perl -0ne '
    my $bad = 0;
    while (/<source>(.*?)<\/source>\s*<translation>(.*?)<\/translation>/sg) {
      my ($s, $t) = ($1, $2);
      my $sig = sub { my $x = shift; $x =~ s/&amp;&amp;//g;
        join(",", sort($x =~ /(%(?:[0-9]+|[a-z]))/g)) . "|" . (() = $x =~ /&amp;(?!amp;)/g) };
      if ($sig->($s) ne $sig->($t)) { print "  $s => $t\n"; $bad = 1 }
    }
    exit $bad' "$ts"
done
echo "$((failed == 0 ? 1 : 0)) passed, $((failed == 0 ? 0 : 1)) failed"
[ "$failed" -eq 0 ]
