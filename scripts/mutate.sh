#!/usr/bin/env bash
# Plants small faults in source files, one at a time, rebuilds and runs the tests: a fault the
# tests do not notice shows a behaviour no test pins. For the files a change touches; it takes
# minutes per file, so it is no part of ./test.sh or CI.
#
#   scripts/mutate.sh [-n N] [-b BUILD_DIR] [-j JOBS] [-t SECONDS] FILE... [-- TEST-REGEX]
#
# -n  at most N faults per file, spread evenly over it (default 15; 0: every one found)
# -b  the configured build folder (default $MUTATE_BUILD_DIR, else build/)
# -j  parallel jobs for building and testing (default 2)
# -t  time limit of one test, and four times it of one fault's whole run; a test that hangs
#     counts as catching the fault (default 120)
# TEST-REGEX picks the CTest tests to run (ctest -R); without it, every unit test.
#
# The faults: a comparison flipped (< to >=, == to !=, ...), an integer constant moved by one,
# a statement dropped, && and || swapped, an if or while condition negated. Comments, strings,
# character constants and preprocessor lines are left alone. The file is put back after each
# fault and when the script ends, also on Ctrl+C. Without a DISPLAY a private Xvfb is started,
# so that the tests that need a window run too.
set -euo pipefail

per_file=15
build=${MUTATE_BUILD_DIR:-build}
jobs=2
timeout=120
while getopts "n:b:j:t:" option; do
    case $option in
    n) per_file=$OPTARG ;;
    b) build=$OPTARG ;;
    j) jobs=$OPTARG ;;
    t) timeout=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
files=()
while (($#)) && [[ $1 != -- ]]; do files+=("$1") && shift; done
(($#)) && shift
test_select=(-L unit)
(($#)) && test_select=(-R "$1")
((${#files[@]})) || { sed -n '5,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
[[ -f $build/CTestTestfile.cmake ]] || { echo "mutate: $build is no configured build folder (-b)" >&2; exit 2; }
for file in "${files[@]}"; do [[ -f $file ]] || { echo "mutate: no file $file" >&2; exit 2; }; done

WORK=$(mktemp -d /tmp/quonfel-mutate-XXXXXX)
XVFB_PID=
current=
restore() {
    # A fresh time on the file, so that the next build compiles it again.
    if [[ -n $current ]]; then cat "$WORK/original" >"$current" && current=; fi
}
finish() {
    restore
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap finish EXIT
trap 'echo "mutate: interrupted; the file is put back" >&2; exit 130' INT TERM

if [[ -z ${DISPLAY:-} ]]; then
    source "$(dirname "$0")/private-xvfb.bash"
    start_private_xvfb 1280x1024x24 "$WORK/xvfb.log" || echo "mutate: no Xvfb; the window tests skip" >&2
fi

# The test programs the chosen tests run (every one when none is named): they and what they
# need are rebuilt, nothing else.
mapfile -t targets < <(ctest --test-dir "$build" "${test_select[@]}" --show-only=json-v1 2>/dev/null |
    perl -0777 -ne 'print "$1\n" while /"command"\s*:\s*\[\s*"[^"]*\/(test_\w+)"/g' | sort -u)
if ((${#targets[@]} == 0)); then
    mapfile -t targets < <(cmake --build "$build" --target help | sed -n 's/^\.\.\. \(test_[a-z_]*\).*/\1/p')
fi

# Prints one fault a line, "LINE START LENGTH REPLACEMENT WHAT" separated by the unit separator
# (the replacement may be empty), for the file on stdin. START counts bytes from 0 in the line.
find_faults() {
    perl -ne '
        BEGIN { $block = 0; $raw = "" }
        chomp;
        my $line = $_;
        # The code of the line with comments, strings and character constants blanked out.
        my $code = "";
        my $i = 0;
        while ($i < length $line) {
            my $rest = substr($line, $i);
            if ($raw ne "") {
                my $end = index($rest, ")$raw\"");
                if ($end < 0) { $code .= " " x length $rest; last }
                $code .= " " x ($end + length($raw) + 2); $i += $end + length($raw) + 2; $raw = ""; next;
            }
            if ($block) {
                my $end = index($rest, "*/");
                if ($end < 0) { $code .= " " x length $rest; last }
                $code .= " " x ($end + 2); $i += $end + 2; $block = 0; next;
            }
            if ($rest =~ /^\/\//) { $code .= " " x length $rest; last }
            if ($rest =~ /^\/\*/) { $block = 1; $code .= "  "; $i += 2; next }
            if ($rest =~ /^R"([^(]*)\(/) { $raw = $1; $code .= " " x length $&; $i += length $&; next }
            if ($rest =~ /^("(?:[^"\\]|\\.)*"|\x27(?:[^\x27\\]|\\.)*\x27)/) {
                $code .= " " x length $1; $i += length $1; next;
            }
            $code .= substr($rest, 0, 1); $i++;
        }
        next if $code =~ /^\s*#/;
        my %flip = ("<" => ">=", ">" => "<=", "<=" => ">", ">=" => "<", "==" => "!=", "!=" => "==",
                    "&&" => "||", "||" => "&&");
        while ($code =~ / (<=|>=|==|!=|<|>|&&|\|\|) /g) {
            print join("\x1f", $., $-[1], length $1, $flip{$1}, "$1 -> $flip{$1}"), "\n";
        }
        while ($code =~ /(?<![\w.])(\d+)(?![\w.])/g) {
            my $moved = $1 == 0 ? 1 : $1 - 1;
            print join("\x1f", $., $-[1], length $1, $moved, "$1 -> $moved"), "\n";
        }
        while ($code =~ /\b(if|while) \(/g) {
            my ($open, $depth, $j) = ($+[0] - 1, 0, $+[0] - 1);
            for (; $j < length $code; $j++) {
                my $c = substr($code, $j, 1);
                $depth++ if $c eq "(";
                $depth-- if $c eq ")";
                last if $depth == 0;
            }
            next if $j >= length $code;
            my $condition = substr($line, $open + 1, $j - $open - 1);
            print join("\x1f", $., $open, $j - $open + 1, "(!($condition))", "negated: $1 ($condition)"), "\n";
        }
        # A whole statement on a line of its own that declares nothing (two names in a row
        # start a declaration, or a return).
        my ($indent, $whole) = $code =~ /^(\s*)(\S.*;)\s*$/;
        if (defined $whole && $code !~ /^\s*(return|break|continue|case|default|using|typedef|namespace|delete|goto)\b/
            && $code !~ /^\s*(const\s+|static\s+|constexpr\s+)*[\w:]+(<[^;]*>)?[\s*&]+\w+\s*[=({;\[]/
            && $code !~ /[{}]/ && ($code =~ tr/(//) == ($code =~ tr/)//) && $previous =~ /[;{}]\s*$|^\s*$/) {
            my $statement = substr($line, length $indent, length $whole);
            print join("\x1f", $., length $indent, length $whole, "", "dropped: $statement"), "\n";
        }
        $previous = $code;
    '
}

# Every N-th of the faults found, so that at most per_file remain, spread over the file.
spread() {
    awk -v want="$per_file" '{ fault[NR] = $0 } END {
        if (want == 0 || want >= NR) { for (i = 1; i <= NR; i++) print fault[i]; exit }
        for (i = 0; i < want; i++) print fault[int(i * NR / want) + 1]
    }'
}

# Writes the original file with the fault planted into $2.
plant() {
    local line=$1 start=$2 length=$3 replacement=$4
    LINE=$line START=$start LENGTH=$length REPLACEMENT=$replacement perl -pe '
        substr($_, $ENV{START}, $ENV{LENGTH}) = $ENV{REPLACEMENT} if $. == $ENV{LINE}' "$WORK/original"
}

build_tests() { cmake --build "$build" -j "$jobs" --target "${targets[@]}" >"$WORK/build.log" 2>&1; }
run_tests() {
    # A test's own TIMEOUT property outranks --timeout, so a fault that makes a test spin is
    # also ended from outside; ending it counts as catching the fault.
    timeout -k 10 "$((timeout * 4))" ctest --test-dir "$build" "${test_select[@]}" --stop-on-failure -j "$jobs" \
        --timeout "$timeout" >"$WORK/test.log" 2>&1
}

build_tests || { echo "mutate: the build fails before any fault is planted: see $build" >&2; tail -20 "$WORK/build.log" >&2; exit 1; }
run_tests || { echo "mutate: the tests fail before any fault is planted" >&2; tail -20 "$WORK/test.log" >&2; exit 1; }

summary=()
for file in "${files[@]}"; do
    cp -p "$file" "$WORK/original"
    caught=0 missed=0 broken=0 missed_list=()
    mapfile -t faults < <(find_faults <"$file" | spread)
    echo "$file: ${#faults[@]} faults" >&2
    for fault in "${faults[@]}"; do
        IFS=$'\x1f' read -r line start length replacement what <<<"$fault"
        current=$file
        plant "$line" "$start" "$length" "$replacement" >"$file"
        if ! build_tests; then
            result="not compiling"
            broken=$((broken + 1))
        elif run_tests; then
            result=MISSED
            missed=$((missed + 1))
            missed_list+=("$file:$line: $what")
        else
            result=caught
            caught=$((caught + 1))
        fi
        restore
        echo "  $file:$line: $what: $result" >&2
    done
    summary+=("$file: caught $caught, missed $missed, not compiling $broken")
    for entry in "${missed_list[@]}"; do summary+=("  missed $entry"); done
done

# The build folder as the source is again.
build_tests || echo "mutate: the build after putting the files back failed: see $build" >&2
printf '%s\n' "${summary[@]}"
