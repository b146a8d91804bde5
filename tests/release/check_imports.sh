#!/bin/sh
# Every function that tandrel.exe imports is in imports.txt, with the oldest
# Windows that has it, and none needs a Windows newer than the oldest one the
# panel supports: a newer function is looked up at run time instead.
#   check_imports.sh INSPECT_EXE TANDREL_EXE LIST           check
#   check_imports.sh INSPECT_EXE TANDREL_EXE LIST --write   write the list's
#       first column from the program; the second is written by hand
set -u
inspect=$1 exe=$2 list=$3
oldest="Windows XP"
# The Windows versions up to $oldest, as Microsoft's documentation names them,
# and "every version" for what the list's notes show every Windows has.
supported="every version|Windows 2000 Professional|Windows XP"

imported=$("$inspect" imports "$exe") || exit 1
# One line a function: its name, a tab, its Windows.
rows=$(grep -v '^#' "$list" | awk 'NF { name = $1; $1 = ""; sub(/^ +/, ""); print name "\t" $0 }')

if [ "${4:-}" = --write ]; then
    {
        grep '^#' "$list"
        # A function that turned from its A form to its W form keeps the
        # oldest Windows of the A form: Microsoft documents both on one page.
        echo "$imported" | while IFS= read -r name; do
            windows=$(echo "$rows" | awk -F '\t' -v name="$name" -v ansi="${name%W}A" '
                $1 == name { print $2; found = 1; exit }
                $1 == ansi { fallback = $2 }
                END { if (!found && fallback != "") print fallback }')
            printf '%-44s %s\n' "$name" "${windows:-?}"
        done
    } >"$list.new" && mv "$list.new" "$list" || exit 1
    echo "import list: wrote $list"
    exit 0
fi

status=0
# + imported but not listed, - listed but not imported.
difference=$({
    echo "$rows" | cut -f 1 | sed 's/^/-/'
    echo "$imported" | sed 's/^/+/'
} | awk 'length($0) > 1 { seen[substr($0, 2)] = seen[substr($0, 2)] substr($0, 1, 1) }
    END { for (name in seen) if (seen[name] == "-" || seen[name] == "+") print seen[name], name }' |
    LC_ALL=C sort -k 2)
if [ -n "$difference" ]; then
    echo "FAILED: the imports differ from $list (+ imported, not listed; - listed, not imported)."
    echo "After a deliberate change: cmake --build --preset win32 --target import_list, then fill in"
    echo "the oldest Windows of each new function from Microsoft's documentation."
    echo "$difference"
    status=1
fi
unsupported=$(echo "$rows" | awk -F '\t' -v supported="^($supported)\$" -v oldest="$oldest" '
    $2 == "?" { print "FAILED: " $1 ": the oldest Windows that has it is not written in the list" }
    $2 != "?" && $2 !~ supported {
        print "FAILED: " $1 " needs " $2 ", newer than " oldest ": look it up at run time" }')
[ -z "$unsupported" ] || { echo "$unsupported"; status=1; }
[ "$status" -ne 0 ] || echo "release: tandrel.exe imports the $(echo "$imported" | wc -l) functions of $(basename "$list"), none newer than $oldest"
exit $status
