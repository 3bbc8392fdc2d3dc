#!/usr/bin/env bash
# tools/run in a tree of its own, with a stand-in cmake that logs its calls:
# the first start builds without a word, a start with nothing changed goes
# straight to the program, an edited file or a failed build builds again,
# and a failed build shows its log.
set -euo pipefail
t="$(mktemp -d)"
trap 'rm -rf "$t"' EXIT
mkdir -p "$t/tree/tools" "$t/tree/src" "$t/bin"
cp "$1/tools/run" "$t/tree/tools/run"
printf '#!/bin/sh\n' >"$t/tree/tools/install-deps"
chmod +x "$t/tree/tools/install-deps"
echo 'int main() {}' >"$t/tree/src/main.cpp"
cat >"$t/bin/cmake" <<'EOF'
#!/bin/sh
echo "cmake $*" >>"$CMAKE_LOG"
echo "[ 50%] Building CXX object src/main.cpp.o"
[ -z "${CMAKE_FAIL:-}" ] || exit 2
mkdir -p build && touch build/CMakeCache.txt
printf '#!/bin/sh\necho started "$@"\n' >build/kelvoran && chmod +x build/kelvoran
EOF
chmod +x "$t/bin/cmake"
export PATH="$t/bin:$PATH" CMAKE_LOG="$t/cmake.log"

fail() { echo "FAIL: $*" >&2; exit 1; }
start() { # expect: builds (yes/no), then the program's words
  : >"$CMAKE_LOG"
  out="$(cd "$t/tree" && bash tools/run --fullscreen 2>&1)" || fail "$1: exit $? with: $out"
  [[ $out == "started --fullscreen" ]] || fail "$1: printed: $out"
  if [[ $2 == builds ]]; then [[ -s $CMAKE_LOG ]] || fail "$1: did not build"
  else [[ ! -s $CMAKE_LOG ]] || fail "$1: built: $(cat "$CMAKE_LOG")"; fi
}

start "first start" builds
start "nothing changed" "no build"
start "still nothing changed" "no build"
touch "$t/tree/src/main.cpp"
start "a source file saved" builds
rm "$t/tree/src/main.cpp"
start "a source file removed" builds
start "nothing changed after" "no build"

touch "$t/tree/src/new.cpp"
if out="$(cd "$t/tree" && CMAKE_FAIL=1 bash tools/run 2>&1)"; then fail "a failed build started the program"; fi
[[ $out == *"Building CXX object"* ]] || fail "a failed build hid its log: $out"
[[ $out != *started* ]] || fail "a failed build started the old program"
start "after a failed build" builds
echo "tools/run: all rows pass"
