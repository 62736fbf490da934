#!/usr/bin/env bash
# Checks the engine's layering: a folder of jet/ includes headers of its own folder and of the
# folders below it in the order of jet/README.md, never of one above. The public JetError.h,
# Schema.h and RowCursor.h may be included everywhere; a creator's writer may include create/ too.
# Usage: LayeringTest.sh SOURCE_DIR. Prints each include that breaks the rule; exit 1 if any.
set -euo pipefail
jet="$1/jet"

# Rank of each folder: a folder may include folders of its rank or lower (peers share a rank).
declare -A rank=(
  [base]=1 [crypto]=2 [file]=3 [page]=4 [text]=4 [schema]=5 [usagemap]=6 [longvalue]=7 [row]=8
  [catalog]=9 [recovery]=9 [write]=10 [index]=10 [create]=11 [public]=11
)

folder_of() {  # jet/row/X.h -> row; jet/Database.h -> public
  local path=${1#jet/}
  if [[ $path == */* ]]; then echo "${path%%/*}"; else echo public; fi
}

broken=0
while IFS= read -r source; do
  relative=${source#"$1/"}
  from=$(folder_of "$relative")
  [[ -n ${rank[$from]:-} ]] || { echo "$relative: folder '$from' has no place in the layering"; broken=1; continue; }
  while IFS= read -r header; do
    to=$(folder_of "$header")
    [[ $header == jet/JetError.h || $header == jet/Schema.h || $header == jet/RowCursor.h ]] && continue
    [[ $from == "$to" ]] && continue
    if [[ $to == create && ( $(basename "$relative") == *Writer.* || $(basename "$relative") == RowPage.* ) ]]; then
      continue
    fi
    if [[ -z ${rank[$to]:-} || ${rank[$to]} -gt ${rank[$from]} ]]; then
      echo "$relative includes $header: $from/ may not use $to/"
      broken=1
    fi
  done < <(grep -oE '#include "jet/[A-Za-z0-9/]+\.h"' "$source" | sed -E 's/#include "(.*)"/\1/')
done < <(find "$jet" -name '*.h' -o -name '*.cpp' | sort)
exit $broken
