#!/usr/bin/env bash
# The catalogues against the sources: every text that goes through tr()
# is in each .ts file, translated, and nothing gone from the sources stays;
# every catalogue is built; and no text reaches a widget, box or popup
# without going through tr().
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
folders=(app audio core dialogs platform save ui wizard)

cd "$root" || exit 1
for ts in translations/tapewren_*.ts; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  # English is the source language: its catalogue holds the plural forms alone.
  only=()
  [ "$ts" = translations/tapewren_en.ts ] && only=(-pluralonly)
  # The same options the catalogues were made with: a new text comes in
  # unfinished, a vanished one goes, and either shows as a difference.
  "$lupdate" -silent -no-obsolete -locations none "${only[@]}" "${folders[@]}" \
    -ts "$copy" >/dev/null 2>&1
  check "$ts holds exactly the texts of the sources" diff -u "$ts" "$copy"
  check "$ts has no unfinished or vanished translation" \
    bash -c "! grep -nE 'type=\"(unfinished|vanished|obsolete)\"' '$ts'"
  # Each translation (each plural form of one) keeps the source's
  # placeholders (%1, %n, %u) and its accelerator, if it has one; a plural
  # text has as many forms as its language counts (Polish three).
  check "$ts keeps placeholders, accelerators and plural forms" perl -0ne '
    my %forms = (pl => 3);
    my ($language) = /<TS [^>]*language="([a-z]+)/;
    my $want = $forms{$language} // 2;
    my $bad = 0;
    my $sig = sub { my $x = shift; $x =~ s/&amp;&amp;//g;
      join(",", sort($x =~ /(%(?:[0-9]+|[a-z]))/g)) . "|" . (() = $x =~ /&amp;(?!amp;)/g) };
    while (/<message( numerus="yes")?>.*?<source>(.*?)<\/source>.*?<translation>(.*?)<\/translation>/sg) {
      my ($numerus, $s, $t) = ($1, $2, $3);
      my @each = $numerus ? ($t =~ /<numerusform>(.*?)<\/numerusform>/sg) : ($t);
      if ($numerus && @each != $want) { print "  $s: ", scalar(@each), " forms, not $want\n"; $bad = 1 }
      for my $form (@each) {
        if ($sig->($s) ne $sig->($form)) { print "  $s => $form\n"; $bad = 1 }
      }
    }
    exit $bad' "$ts"
done
# The build makes and installs a catalogue of each, and only of those.
listed=$(sed -n 's/^set(TAPEWREN_LANGUAGES \(.*\))$/\1/p' CMakeLists.txt | tr ' ' '\n' | sort | xargs)
present=$(ls translations/tapewren_*.ts | sed 's/.*tapewren_\(.*\)\.ts/\1/' | sort | xargs)
check "the build lists every catalogue ($listed)" test -n "$listed" -a "$listed" = "$present"

# A text handed to a widget, a message box, a balloon or a popup goes
# through tr() or translate(); what is left outside them is a name (the
# program's), an object name, or holds no letter at all outside its escapes
# and markup.
check "no literal text reaches the user untranslated" perl -e '
  my %names = map { $_ => 1 } ("Tapewren", "Tapewren 2.95",
    "REC"); # the recording icon'"'"'s glyph, 16 pixels wide
  my $paren = qr/(\((?:[^()"\x27]++|"(?:\\.|[^"\\])*"|\x27(?:\\.|[^\x27\\])*\x27|(?-1))*\))/;
  my $shown = qr/\b(?:set(?:Text|WindowTitle|ToolTip|StatusTip|WhatsThis|AccessibleName|
    AccessibleDescription|PlaceholderText|Title|LabelText|NameFilter|TabText|InformativeText|
    DetailedText)|addItems?|insertItem|addAction|addMenu|showMessage|ShowNotification|
    ShowBalloon|ShowError|SetHint|SetSaveCaption|drawText|drawGroup|
    (?:Q?MessageBox)::\w+|new\s+(?:QLabel|QPushButton|QCheckBox|QRadioButton|QGroupBox|QAction|
    QMenu|QToolButton|QMessageBox|LinkLabel|ImageButton|FlatCheckBox|HeaderBand))\s*/x;
  my $bad = 0;
  for my $file (@ARGV) {
    open(my $in, "<", $file) or die "$file: $!";
    local $/;
    my $code = <$in>;
    # Comments out, strings and characters kept.
    $code =~ s{("(?:\\.|[^"\\])*"|\x27(?:\\.|[^\x27\\])*\x27)|//[^\n]*|/\*.*?\*/}{defined $1 ? $1 : ""}gse;
    while ($code =~ /($shown)$paren/g) {
      my ($call, $args) = ($1, $2);
      my $line = 1 + (() = substr($code, 0, $-[0]) =~ /\n/g);
      1 while $args =~ s/\b(?:tr|translate|QT_TR_NOOP|QT_TRANSLATE_NOOP)\s*$paren//g;
      # Our own controls take their object name second.
      $args =~ s/^\(\s*[^,]+,\s*"\w+"// if $call =~ /LinkLabel|ImageButton|FlatCheckBox/;
      while ($args =~ /"((?:\\.|[^"\\])*)"/g) {
        my $text = $1;
        # Escapes (a no-break space) and markup tags are no words.
        (my $letters = $text) =~ s/\\(?:u[0-9A-Fa-f]{4}|x[0-9A-Fa-f]+|.)|<[^<>]*>//g;
        next if $names{$text} || $letters !~ /[[:alpha:]]/;
        print "  $file:$line: \"$text\" in $call\n";
        $bad = 1;
      }
    }
  }
  exit $bad' $(find "${folders[@]}" -name '*.cpp' -o -name '*.h' | sort)
echo "$((failed == 0 ? 1 : 0)) passed, $((failed == 0 ? 0 : 1)) failed"
[ "$failed" -eq 0 ]
