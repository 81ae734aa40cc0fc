#!/usr/bin/env bash
# Runs what scripts/cross-build.sh built under Wine, on a virtual display: for each target the
# test executable (any failure fails the run), then the program, which must stay up for a few
# seconds and exit with status 0 once its window is asked to close.
#
# Usage: scripts/cross-test.sh [win64] [win32]      (both when none is named)
#
# The x86-64 executables run with Wine's 64-bit loader, the i386 ones with its 32-bit loader:
# Debian's `wine` launcher picks the 32-bit loader whenever wine32 is installed, and that one
# cannot start on a kernel that runs no 32-bit x86 programs (many container and virtual-machine
# kernels lack IA-32 emulation). On such a kernel the i386 executables are checked to be there
# but not run, and the script says so; LUMENFOLD_FORCE_NO_I386=1 takes that path anywhere.
#
# The Wine prefix (64-bit) is build-cross/wineprefix, made on first use. ALSA's null device
# stands in for a sound card, so that the programs find an audio output on machines without
# one. Noisy steps write to logs under build-cross/; a failing step prints the end of its log.
# The screenshots need xdotool, xrefresh, ImageMagick and Pillow (scripts/packages-e2e.txt).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cross="$top/build-cross"
run_seconds=${LUMENFOLD_RUN_SECONDS:-5}
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver64

targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(win64 win32)
for target in "${targets[@]}"; do
  case "$target" in
    win64|win32) ;;
    *) echo "unknown target '$target' (win64 or win32)" >&2; exit 2 ;;
  esac
done

if [ -z "${LUMENFOLD_CROSS_TEST_DISPLAY:-}" ]; then
  for tool in "$wine64" "$wineserver"; do
    [ -x "$tool" ] || { echo "Wine's $tool is missing: run scripts/cross-build.sh first" >&2; exit 1; }
  done
  export LUMENFOLD_CROSS_TEST_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

program_of() {
  case "$1" in
    win64) echo "$top/build-win64/app/lumenfold.exe" ;;
    win32) echo "$top/build-win32/app/lumenfold32.exe" ;;
  esac
}

loader_of() {
  case "$1" in
    win64) echo "$wine64" ;;
    win32) echo "$wine32" ;;
  esac
}

# Runs a step with its output in a log; when it fails, says which step and prints the log's end.
logged() {
  local what=$1 log=$2
  shift 2
  if ! "$@" > "$log" 2>&1; then
    echo "$what failed; the last lines of $log:" >&2
    tail -n 40 "$log" >&2
    return 1
  fi
}

# Whether this kernel executes i386 programs. The probe is a 96-byte static i386 ELF that exits
# with status 42 through the int 0x80 system call: no libraries and no dynamic loader, so that
# only the kernel decides. Where the kernel refuses, running it fails with "Exec format error".
kernel_runs_i386() {
  local probe="$cross/i386-probe" status=0
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' > "$probe"
  chmod +x "$probe"
  ( "$probe" ) > /dev/null 2>&1 || status=$?
  [ "$status" -eq 42 ]
}

mkdir -p "$cross"
export WINEPREFIX="$cross/wineprefix"
export WINEARCH=win64
export WINESERVER="$wineserver"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
printf '%s\n' '</usr/share/alsa/alsa.conf>' 'pcm.!default { type null }' > "$cross/alsa-null.conf"
export ALSA_CONFIG_PATH="$cross/alsa-null.conf"

failures=0
passed_total=0
failed_total=0

# The i386 targets run only where the kernel runs i386 programs; elsewhere they only have to
# have been built.
i386_note=
run_targets=()
for target in "${targets[@]}"; do
  if [ "$target" = win32 ]; then
    if [ "${LUMENFOLD_FORCE_NO_I386:-0}" = 1 ] || ! kernel_runs_i386; then
      built=1
      for exe in "$(program_of win32)" "$top/build-win32/tests/lumenfold_tests.exe"; do
        [ -f "$exe" ] || { echo "win32: $exe is missing" >&2; failures=$((failures + 1)); built=0; }
      done
      [ "$built" = 1 ] || continue
      i386_note="win32: the i386 executables were built but not run, because this kernel runs no 32-bit x86 programs"
      [ "${LUMENFOLD_FORCE_NO_I386:-0}" != 1 ] || i386_note+=" (as LUMENFOLD_FORCE_NO_I386=1 says)"
      continue
    fi
    [ -x "$wine32" ] || { echo "Wine's 32-bit loader $wine32 is missing (package wine32:i386): run scripts/cross-build.sh first" >&2; exit 1; }
  fi
  run_targets+=("$target")
done

# Nothing to run: no Wine prefix needed.
if [ "${#run_targets[@]}" -eq 0 ]; then
  [ -z "$i386_note" ] || echo "$i386_note"
  [ "$failures" -eq 0 ]
  exit
fi

logged "Making the Wine prefix $WINEPREFIX (wineboot --init)" "$cross/wineboot.log" \
  timeout 300 "$wine64" wineboot --init

# A helper that finds a program's visible top-level windows by executable name and, unless
# --find is given, asks them to close (WM_CLOSE), as the close button would. Exit status 0 when
# it found one. taskkill is no substitute: it sends WM_CLOSE to hidden top-level windows too;
# DefWindowProc then destroys JUCE's hidden message window, and a quit posted to it may be lost.
windows_tool="$cross/windows-tool.exe"
cat > "$cross/windows-tool.c.new" <<'HELPER'
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

static const wchar_t* wanted;
static BOOL closeThem;
static int found;

static BOOL CALLBACK visitWindow(HWND window, LPARAM unused)
{
    (void) unused;
    DWORD pid = 0;
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != NULL)
        return TRUE;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == NULL)
        return TRUE;
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, path, &size))
    {
        const wchar_t* name = wcsrchr(path, L'\\');
        name = name ? name + 1 : path;
        if (_wcsicmp(name, wanted) == 0 && (!closeThem || PostMessageW(window, WM_CLOSE, 0, 0)))
            ++found;
    }
    CloseHandle(process);
    return TRUE;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"--find") == 0)
        wanted = argv[2];
    else if (argc == 2)
    {
        wanted = argv[1];
        closeThem = TRUE;
    }
    else
        return 2;
    EnumWindows(visitWindow, 0);
    printf("%d window(s)\n", found);
    return found > 0 ? 0 : 1;
}
HELPER
if [ ! -f "$windows_tool" ] || ! cmp -s "$cross/windows-tool.c.new" "$cross/windows-tool.c"; then
  mv "$cross/windows-tool.c.new" "$cross/windows-tool.c"
  rm -f "$windows_tool"
  logged "Compiling the window tool $windows_tool" "$cross/windows-tool.log" \
    x86_64-w64-mingw32-gcc-posix -municode -O2 -static "$cross/windows-tool.c" -o "$windows_tool"
fi
rm -f "$cross/windows-tool.c.new"

run_tests() {
  local target=$1 exe="$top/build-$1/tests/lumenfold_tests.exe" log="$cross/tests-$1.log"
  local status=0 passed failed
  if [ ! -f "$exe" ]; then
    echo "$target: $exe is missing" >&2
    failures=$((failures + 1))
    return
  fi
  echo "== $target: running the tests under Wine"
  # Wine's console writes CRLF line ends.
  timeout 900 "$(loader_of "$target")" "$exe" --gtest_brief=1 2>&1 | tr -d '\r' > "$log" || status=$?
  cat "$log"
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)
  failed=$(grep -c '^\[  FAILED  \] .* ([0-9]* ms)$' "$log" || true)
  passed_total=$((passed_total + ${passed:-0}))
  failed_total=$((failed_total + ${failed:-0}))
  if [ "$status" -ne 0 ] || [ -z "$passed" ]; then
    echo "$target: the tests failed (exit status $status)" >&2
    failures=$((failures + 1))
  fi
}

# Takes a screenshot of program i's window (build-cross/program-<target>.png) and checks that it
# shows the whole editor: 1001 x 580 pixels with the menu bar on top and the panels under it,
# the grid showing the factory program (scripts/e2e/checks.py). Returns non-zero when it does
# not.
screenshot_program() {
  local i=$1 name=${names[$1]} window shot result
  shot="$cross/program-${names[$1]%%:*}.png"
  window=$(xdotool search --onlyvisible --pid "${pids[$i]}" 2> /dev/null | head -n 1)
  [ -n "$window" ] || { echo "$name: no window of its process to take a screenshot of" >&2; return 1; }
  # The windows of both programs open at the same place: the one shot comes to the front, and
  # every window repaints what the other uncovered.
  xdotool windowraise "$window"
  xrefresh
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$shot"
  if [ "$WIDTH" != 1001 ] || [ "$HEIGHT" != 580 ]; then
    echo "$name: its window is $WIDTH x $HEIGHT, not 1001 x 580" >&2
    return 1
  fi
  if ! result=$(/usr/bin/python3 "$top/scripts/e2e/checks.py" window "$shot" "$X" "$Y" "$WIDTH" "$HEIGHT" 2>&1); then
    echo "$name: the screenshot $shot shows no whole editor: $result" >&2
    return 1
  fi
  echo "$name: screenshot $shot: $result"
  if ! result=$(/usr/bin/python3 "$top/scripts/e2e/checks.py" factory-grid "$shot" "$X" "$Y" 2>&1); then
    echo "$name: $result" >&2
    return 1
  fi
  echo "$name: $result"
}

# Starts every program and waits for its window (a new prefix builds its font cache first),
# checks that it is still running run_seconds later and that a screenshot shows its whole
# editor, then closes its window and expects exit status 0.
run_programs() {
  local target exe i status waited pids=() names=() alive=()
  for target in "$@"; do
    exe=$(program_of "$target")
    if [ ! -f "$exe" ]; then
      echo "$target: $exe is missing" >&2
      failures=$((failures + 1))
      continue
    fi
    echo "== $target: starting $(basename "$exe") under Wine for $run_seconds s"
    "$(loader_of "$target")" "$exe" > "$cross/program-$target.log" 2>&1 &
    pids+=("$!")
    names+=("$target:$(basename "$exe")")
  done
  for i in "${!pids[@]}"; do
    alive[$i]=1
    waited=0
    until "$wine64" "$windows_tool" --find "${names[$i]#*:}" > /dev/null 2>&1; do
      if ! kill -0 "${pids[$i]}" 2> /dev/null || [ "$waited" -ge 60 ]; then
        echo "${names[$i]} showed no window" >&2
        alive[$i]=0
        break
      fi
      sleep 1
      waited=$((waited + 1))
    done
  done
  sleep "$run_seconds"
  for i in "${!pids[@]}"; do
    if [ "${alive[$i]}" = 1 ] && ! kill -0 "${pids[$i]}" 2> /dev/null; then
      echo "${names[$i]} exited on its own" >&2
      alive[$i]=0
    fi
    if [ "${alive[$i]}" = 1 ] && ! screenshot_program "$i"; then
      failures=$((failures + 1))
    fi
    if [ "${alive[$i]}" = 1 ] && ! "$wine64" "$windows_tool" "${names[$i]#*:}" > /dev/null 2>&1; then
      echo "${names[$i]} has no window left to close" >&2
      alive[$i]=0
    fi
  done
  for i in "${!pids[@]}"; do
    waited=0
    while kill -0 "${pids[$i]}" 2> /dev/null && [ "$waited" -lt 30 ]; do
      sleep 1
      waited=$((waited + 1))
    done
    if kill -0 "${pids[$i]}" 2> /dev/null; then
      echo "${names[$i]} did not exit within 30 s of being closed" >&2
      # Killed outright: the wait below must not hang on a program that is stuck.
      kill -9 "${pids[$i]}" 2> /dev/null || true
      alive[$i]=0
    fi
    status=0
    wait "${pids[$i]}" || status=$?
    if [ "${alive[$i]}" = 1 ] && [ "$status" -eq 0 ]; then
      echo "${names[$i]} stayed up and closed cleanly"
    else
      echo "${names[$i]} failed (exit status $status); its output:" >&2
      cat "$cross/program-${names[$i]%%:*}.log" >&2
      failures=$((failures + 1))
    fi
  done
}

for target in "${run_targets[@]}"; do
  run_tests "$target"
done
# The programs start from no settings file, as on a new machine: what an earlier run of them in
# this prefix kept (another program chosen, a moved window) would change their first picture.
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/lumenfold/lumenfold.settings
run_programs "${run_targets[@]}"

# Let the prefix's server and its helper processes end before the display goes away.
timeout 60 "$wineserver" -w || "$wineserver" -k

[ -z "$i386_note" ] || echo "$i386_note"
echo "wine: $passed_total passed, $failed_total failed"
[ "$failures" -eq 0 ]
