#!/usr/bin/env bash
# Mutation check: applies each mutant of scripts/mutants.txt (or the file
# given) alone to a scratch copy of the sources in build/mutants/src, builds
# it, and runs the fast tests (ctest -L unit); with --wine, a mutant that they
# leave alive also meets the resource check and the Wine rows. Prints
# "killed", "survived" or "error" per mutant, then the score. Without --wine,
# a mutant of code that only the Windows build compiles is "not run".
#
#   bash scripts/mutants.sh [--wine] [MUTANTS_FILE]
#
# One build folder serves every mutant, so each recompiles the changed file
# only. A mutant whose text is not found, or that does not compile, is an error.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
wine=0
list=scripts/mutants.txt
for arg in "$@"; do
    case $arg in
        --wine) wine=1 ;;
        *) list=$arg ;;
    esac
done
case $list in /*) ;; *) list=$root/$list ;; esac
[ -f "$list" ] || { echo "no mutants file $list" >&2; exit 1; }
work=$root/build/mutants
src=$work/src
mkdir -p "$src" "$work/log"

# The mutants file: blocks separated by blank lines, lines starting with #
# ignored. Each block has "name:", "file:", "from:" (exact text, unique in the
# file, or the first one after the "after:" text when given) and "to:". A key
# alone on its line takes the following lines as its (multi-line) value.
# "needs: win32" marks a mutant that only the 32-bit build's rows can kill.
mutants() {  # list | apply N
    python3 - "$list" "$@" <<'EOF'
import re, sys
blocks = []
for text in re.split(r"\n[ \t]*\n", open(sys.argv[1]).read()):
    fields, key = {}, None
    for line in text.split("\n"):
        match = re.match(r"(name|file|after|from|to|needs):(?: (.*))?$", line)
        if match:
            key = match[1]
            fields[key] = match[2]
        elif key and not line.startswith("#"):
            fields[key] = line if fields[key] is None else fields[key] + "\n" + line
    if "name" in fields:
        blocks.append(fields)
if sys.argv[2] == "list":
    print("\n".join("%d\t%s\t%s" % (i, b.get("needs") or "-", b["name"])
                    for i, b in enumerate(blocks)))
    sys.exit(0)
m = blocks[int(sys.argv[3])]
path = sys.argv[4] + "/" + m["file"]
source = open(path).read()
start = source.find(m["after"]) if m.get("after") else 0
found = source.find(m["from"] or "\0", max(start, 0))
if start < 0 or found < 0 or (not m.get("after") and source.count(m["from"]) != 1):
    sys.exit("text not found, or not unique without after:")
open(path, "w").write(source[:found] + (m["to"] or "") + source[found + len(m["from"]):])
print(m["file"])
EOF
}

# The scratch copy: a file is copied (and so rebuilt) only when its text differs.
(cd "$root" && git ls-files --cached --others --exclude-standard) | while read -r f; do
    if [ -f "$root/$f" ] && ! cmp -s "$root/$f" "$src/$f"; then
        mkdir -p "$(dirname "$src/$f")" && cp "$root/$f" "$src/$f"
    fi
done
# With --wine, the builds that this machine runs: the 64-bit one always, the 32-bit
# one where 32-bit code runs (its rows are skipped elsewhere).
builds=()
if [ $wine -eq 1 ]; then
    builds=(win64)
    bash scripts/runs-32bit.sh >/dev/null && builds+=(win32)
    for b in "${builds[@]}"; do
        toolchain=cmake/mingw-x86_64.cmake
        [ "$b" = win64 ] || toolchain=cmake/mingw-i686.cmake
        cmake -S "$src" -B "$work/$b" -DCMAKE_TOOLCHAIN_FILE=$toolchain \
            -DCMAKE_BUILD_TYPE=Release >/dev/null
    done
fi
windows=()
[ $wine -eq 0 ] || windows=(-DQUORVANE_WIN32_DIR="$work/win32" -DQUORVANE_WIN64_DIR="$work/win64")
cmake -S "$src" -B "$work/native" -DCMAKE_BUILD_TYPE=Debug "${windows[@]}" >/dev/null

build() {
    cmake --build "$work/native" -j2 || return 1
    for b in "${builds[@]}"; do cmake --build "$work/$b" -j2 || return 1; done
}
fast() { (cd "$work/native" && ctest -L unit --timeout 60); }
slow() {
    local tests='wine|resources'
    [ "${#builds[@]}" -eq 2 ] || tests='wine_rows_64|resources_in_exe_64'
    (cd "$work/native" && ctest -R "$tests")
}

echo "Building and testing the unmutated copy ..."
build >"$work/log/unmutated.log" 2>&1 && fast >>"$work/log/unmutated.log" 2>&1 \
    && { [ $wine -eq 0 ] || slow >>"$work/log/unmutated.log" 2>&1; } \
    || { echo "the unmutated copy fails: see $work/log/unmutated.log" >&2; exit 1; }

total=0 killed=0 by_unit=0 errors=0 not_run=0
while IFS=$'\t' read -r -u 3 number needs name; do
    total=$((total + 1))
    file=""
    log=$work/log/$number.log
    if ! file=$(mutants apply "$number" "$src" 2>"$log"); then
        result="error     (text not found)"
    elif ! build >>"$log" 2>&1; then
        result="error     (does not compile)"
    elif [ $wine -eq 0 ] && ! grep -rqF --include='*.make' "$src/$file" "$work/native/CMakeFiles"
    then
        result="not run   (needs --wine)"
    elif ! fast >>"$log" 2>&1; then
        result="killed    (unit)"
        by_unit=$((by_unit + 1))
    elif [ $wine -eq 1 ] && [ "$needs" = win32 ] && [[ " ${builds[*]} " != *" win32 "* ]]; then
        result="not run   (needs the 32-bit build, which this machine cannot run)"
    elif [ $wine -eq 1 ] && ! slow >>"$log" 2>&1; then
        result="killed    (wine)"
    else
        result="survived"
    fi
    case $result in
        killed*) killed=$((killed + 1)) ;;
        error*) errors=$((errors + 1)) ;;
        not*) not_run=$((not_run + 1)) ;;
    esac
    printf '%-28s %s\n' "$result" "$name"
    # Back to the original text, with a new time so that the next build redoes it.
    [ -z "$file" ] || cp "$root/$file" "$src/$file"
done 3< <(mutants list)

echo "score: $killed of $total killed ($by_unit by the unit tests alone), $errors errors," \
    "$not_run not run (Windows-only code, or the 32-bit build's), $((total - killed - errors - not_run))" \
    "survived"
[ "$errors" -eq 0 ] && [ $((killed + not_run)) -eq "$total" ]
