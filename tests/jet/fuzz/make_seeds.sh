#!/usr/bin/env bash
# make_seeds.sh SEED_FOLDER CORPUS_FOLDER: fills the fuzzer's seed folder (in a build tree, never
# in the sources) with the corpus files, their first pages, and header variants of a small one.
set -euo pipefail
seeds=$1
corpus=$2
mkdir -p "$seeds"
[ -d "$corpus" ] || { echo "No corpus at $corpus: seeding with generated inputs only"; }

if [ -d "$corpus" ]; then
  while IFS= read -r -d '' file; do
    name=$(basename "$file")
    cp "$file" "$seeds/$name"
    # The first pages: header, catalogue and the first table definitions.
    for bytes in 8192 32768; do
      head -c "$bytes" "$file" >"$seeds/$name.head$bytes"
    done
  done < <(find "$corpus" -type f \( -name '*.mdb' -o -name '*.accdb' \) -print0)

  # A small Jet4 file with its version byte (offset 0x14) set to every known value and a bad one.
  small="$corpus/emptyJet4.mdb"
  if [ -f "$small" ]; then
    for version in 00 01 02 03 04 05 06 ff; do
      head -c 32768 "$small" >"$seeds/version-$version"
      printf "\\x$version" | dd of="$seeds/version-$version" bs=1 seek=20 conv=notrunc status=none
    done
  fi
fi

# Inputs that need no corpus: empty, one byte, a page of zeros, a page of 0xFF.
: >"$seeds/empty"
printf '\x00' >"$seeds/one-byte"
head -c 4096 /dev/zero >"$seeds/zero-page"
head -c 4096 /dev/zero | tr '\0' '\377' >"$seeds/ff-page"
