#!/usr/bin/env bash
# The build-time generator of the sort orders' character tables: the data as shipped makes the
# tables; a data file with any malformed line, or a line too many or too few, stops it with the
# file and line named, and nothing is written.
# usage: SortOrderGeneratorTest.sh <generator> <data folder>
set -uo pipefail
generator="$1"
data="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=(index_codes_genleg.txt index_codes_ext_genleg.txt index_codes_gen.txt index_codes_ext_gen.txt
       index_codes_gen_97.txt index_mappings_ext_gen_97.txt)
failed=0

run() {  # runs the generator on the files in $work/in, writing $work/out.cpp
  rm -f "$work/out.cpp"
  "$generator" "$work/out.cpp" "${files[@]/#/$work/in/}" 2>"$work/stderr"
}

fresh() {
  rm -rf "$work/in"
  mkdir "$work/in"
  for file in "${files[@]}"; do cp "$data/$file" "$work/in/"; done
}

# expect_refused <what> <file> <line named>: the generator must fail naming file:line.
expect_refused() {
  if run; then
    echo "accepted: $1"
    failed=1
  elif ! grep -q "$2:$3:" "$work/stderr"; then
    echo "refused without naming $2:$3: $1 ($(cat "$work/stderr"))"
    failed=1
  elif [[ -e $work/out.cpp ]]; then
    echo "wrote tables despite: $1"
    failed=1
  fi
}

fresh
if ! run || ! grep -qs "kGeneralLegacy" "$work/out.cpp"; then
  echo "the shipped data made no tables: $(cat "$work/stderr")"
  failed=1
fi

fresh; sed -i '5s/.*/Q4A/' "$work/in/index_codes_genleg.txt"
expect_refused "an unknown handler" index_codes_genleg.txt 5
fresh; sed -i '1000s/.*/S4G/' "$work/in/index_codes_ext_gen.txt"
expect_refused "a field that is not hex" index_codes_ext_gen.txt 1000
fresh; sed -i '200s/.*/I4A/' "$work/in/index_codes_genleg.txt"
expect_refused "an international character without its extra bytes" index_codes_genleg.txt 200
fresh; sed -i '300s/.*/P0C0D/' "$work/in/index_codes_ext_genleg.txt"
expect_refused "a combining mark of two bytes" index_codes_ext_genleg.txt 300
fresh; sed -i '7s/.*/S/' "$work/in/index_codes_gen.txt"
expect_refused "an empty code" index_codes_gen.txt 7
fresh; sed -i '230s/.*/I60,13/' "$work/in/index_codes_gen_97.txt"
expect_refused "a General 97 extra code wider than a nibble" index_codes_gen_97.txt 230
fresh; sed -i '9s/.*/X1/' "$work/in/index_codes_gen_97.txt"
expect_refused "an ignored character with a field" index_codes_gen_97.txt 9
fresh; sed -i '$d' "$work/in/index_codes_ext_gen.txt"
expect_refused "a line too few" index_codes_ext_gen.txt 63231
fresh; echo S4A >> "$work/in/index_codes_gen_97.txt"
expect_refused "a line too many" index_codes_gen_97.txt 257
fresh; sed -i '2s/.*/339;156/' "$work/in/index_mappings_ext_gen_97.txt"
expect_refused "a mapping that is not a pair" index_mappings_ext_gen_97.txt 2
fresh; sed -i '3s/.*/200,65/' "$work/in/index_mappings_ext_gen_97.txt"
expect_refused "a mapping of a Latin-1 character" index_mappings_ext_gen_97.txt 3

exit $failed
