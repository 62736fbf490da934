#!/usr/bin/env bash
# Shows quorvane-clean at work on a copy of the sample database in a temporary folder: a dry run,
# the real run, then the preview of the cleaned field.
#   scripts/demo-clean.sh PROGRAM_FOLDER   (the folder of quorvane-clean and Samples/sample.mdb)
set -euo pipefail
program_folder=$1
clean="$(cd "$program_folder" && pwd)/quorvane-clean"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program_folder/Samples/sample.mdb" "$work/sample.mdb"
cd "$work"
database=sample.mdb
operation="Remove All Spaces Except for Single Spaces Between Words In Selected Field"

# Prints the command as one would type it, then runs it.
show() {
  local line="\$ quorvane-clean" argument
  for argument in "$@"; do
    if [[ $argument == *" "* ]]; then line+=" \"$argument\""; else line+=" $argument"; fi
  done
  echo
  echo "$line"
  "$clean" "$@"
}

show "$database" --tables
show "$database" --table Customers --field FullName --operation "$operation" --dry-run
show "$database" --table Customers --field FullName --operation "$operation"
show "$database" --preview Customers FullName
echo
echo "(That was a copy in a temporary folder, removed again; the sample beside the program is unchanged.)"
