# Headless Chromium for the page tests, sourced with $work (a scratch
# folder) and $here (this folder) set.
#   browse ARGS... URL          runs the browser on a window of $window
#   no_console_messages LOG     fails when the page wrote to the console
#   selftest PAGE OUT           copies PAGE to OUT with page_selftest.js added
# A message of the page (console output or an uncaught error) is logged as CONSOLE.
browse() {
  chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars \
    --user-data-dir="$work/profile" --window-size="$window" --virtual-time-budget=5000 \
    --enable-logging=stderr --v=0 "$@"
}
no_console_messages() {
  if grep -q ':CONSOLE' "$1"; then
    echo "FAIL: the page wrote to the console:"
    grep ':CONSOLE' "$1"
    exit 1
  fi
}
selftest() {
  python3 - "$1" "$here/page_selftest.js" "$2" <<'PY'
import sys
page, test, out = (open(sys.argv[1]).read(), open(sys.argv[2]).read(), sys.argv[3])
open(out, "w").write(page.replace("</body>", "<script>\n" + test + "</script>\n</body>"))
PY
}
