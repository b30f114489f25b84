#!/usr/bin/env bash
# Regenerates the shipped dictionaries from Debian's word lists:
#   data/Evaluation.tsd  from wamerican        (version 0 layout, the default dictionary)
#   data/English.tsd     from wamerican-large  (version 1 layout)
# and, in the version 1 layout, one dictionary per language, each with the letter weights its
# tiles are drawn by beside it (data/<Language>.letters; the two English ones keep the game's
# built-in table):
#   data/French.tsd      from wfrench      data/Portuguese.tsd  from wportuguese
#   data/German.tsd      from wngerman     data/Dutch.tsd       from wdutch
#   data/Spanish.tsd     from wspanish     data/Swedish.tsd     from wswedish
#   data/Italian.tsd     from witalian     data/Norwegian.tsd   from wnorwegian (bokmål)
#   data/Danish.tsd      from wdanish      data/Catalan.tsd     from wcatalan
#
# English: words of 2 to 31 letters a to z only: no capitals (proper nouns), no apostrophes, no
# accents, shown as written.
#
# The other languages take single words of 2 to 31 letters, shown as the list writes them, and
# played by their letters: an accented letter as its plain letter (été is E-T-E, ö is O), the
# ligatures, ß and ø as the two letters they are written for where the character is missing (æ
# is AE, œ is OE, ß is SS, ø is OE, so Straße is S-T-R-A-S-S-E and østers O-E-S-T-E-R-S). Left out are
#   - entries with a capital letter: proper names and abbreviations. German capitalises every
#     noun, so a German entry may start with a capital as long as the rest is lower case; this
#     drops abbreviations (ABC, AGs) but keeps the names the list holds (Berlin, Anna) with the
#     nouns, because the list does not tell the two apart;
#   - entries with digits, spaces, dots, hyphens or apostrophes: abbreviations, compounds of
#     several words (arc-en-ciel) and elisions (all'abate, d'amagatons, aujourd'hui), none a word
#     of its own. Two marks are kept where the language writes them inside ordinary words: the
#     Catalan middle dot between two l's (col·legi, played C-O-L-L-E-G-I) and the Dutch
#     apostrophe before the plural s of a word ending in a vowel (auto's, played A-U-T-O-S);
#   - letters Windows-1252, the dictionaries' code page, cannot write: the patterns below take
#     only letters it has (none of these lists holds others in words they would take).
# Entries that play as the same letters (pêche, péché, pêché) are one word to the game, shown
# under one of them: tsdmake --unique keeps the one with the most of the language's own marked
# letters (--prefer), then the fewest other characters outside a-z, then the first in byte
# order. Own letters make other words, often the commoner ones: Swedish är, för and så before
# ar, for and sa, Danish and Norwegian på before pa, Spanish año before ano, Catalan col·legi
# before collegi. Other accents mostly tell a rarer word apart or stress a word that is the same
# without them, so the plain spelling goes first: Danish and Norwegian en before én, Dutch
# daarop and een before dáárop and één, French ou and mais before où and maïs, Spanish el before
# él, Dutch bis before bi's. German umlauts count as accents here: they mostly mark the
# plural or another form of the same word (Apfel before Äpfel, Mutter before Mütter).
#
# Choices of list: Portuguese is the European list (wportuguese) rather than the Brazilian one
# (wbrazilian): it follows the 1990 spelling agreement both countries write, and it is the
# larger and the more recently kept of the two. Norwegian is bokmål, the written standard of the
# great majority of Norwegians, rather than nynorsk. German is the list of Germany's spelling
# (wngerman), ß included, rather than the Swiss one.
#
# The output depends only on the word lists, so running this again with the same package
# versions reproduces the files byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."

small=/usr/share/dict/american-english
large=/usr/share/dict/american-english-large

source scripts/lib/packages.sh
need_packages wamerican wamerican-large wfrench wngerman wspanish witalian wportuguese wdutch \
  wswedish wnorwegian wdanish wcatalan

# A build of the tools alone; PELLIN_DICTIONARY_BUILD names another folder for it.
build=${PELLIN_DICTIONARY_BUILD:-build/make-dictionaries}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLIN_BUILD_GUI=OFF \
  -DPELLIN_BUILD_TESTS=OFF -DPELLIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tsdmake >/dev/null
tsdmake="$build/bin/tsdmake"

version_of() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo unknown; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_one() { # list version description output
  LC_ALL=C grep -E '^[a-z]{2,31}$' "$1" >"$work/english"
  "$tsdmake" -v "$2" -d "$3" "$work/english" "$4"
}

make_one "$small" 0 "American English, $(version_of wamerican) word list" data/Evaluation.tsd
make_one "$large" 1 "American English, large $(version_of wamerican-large) word list" data/English.tsd

# The lower-case letters Windows-1252 can write, and its capitals, one by one: grep takes no
# range of letters outside ASCII.
lower='a-zßàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿœšž'
upper='A-ZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞŒŠŽŸ'
plain="^[$lower]{2,}\$"

make_language() { # name package list pattern own-letters
  local name=$1 package=$2 list=/usr/share/dict/$3 pattern=$4 own=$5
  # Most lists are UTF-8; the Swedish and Norwegian ones are still ISO-8859-1, which no UTF-8
  # list of words with accents can be mistaken for.
  if iconv -f UTF-8 -t UTF-8 "$list" >/dev/null 2>&1; then
    cp "$list" "$work/$name.utf8"
  else
    iconv -f ISO-8859-1 -t UTF-8 "$list" >"$work/$name.utf8"
  fi
  # At most 31 characters here; tsdmake counts the letters (ß is two, the middle dot none).
  LC_ALL=C.UTF-8 grep -E "$pattern" "$work/$name.utf8" | LC_ALL=C.UTF-8 grep -E '^.{2,31}$' |
    LC_ALL=C sort -u >"$work/$name.txt"
  "$tsdmake" -v 1 --unique --prefer "$own" --letters -d "$name, $package $(version_of "$package") word list" \
    "$work/$name.txt" "data/$name.tsd"
}

make_language French wfrench french "$plain" ''
make_language German wngerman ngerman "^[$upper]?[$lower]+\$" ''
make_language Spanish wspanish spanish "$plain" 'ñ'
make_language Italian witalian italian "$plain" ''
make_language Portuguese wportuguese portuguese "$plain" 'ç'
make_language Dutch wdutch dutch "^[$lower]{2,}('s)?\$" ''
make_language Swedish wswedish swedish "$plain" 'åäö'
make_language Norwegian wnorwegian bokmaal "$plain" 'æøå'
make_language Danish wdanish danish "$plain" 'æøå'
make_language Catalan wcatalan catalan "^([$lower]|l·l){2,}\$" 'ç·'

ls -l data/*.tsd data/*.letters
