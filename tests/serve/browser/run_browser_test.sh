#!/bin/sh
# Runs the page's browser test, or skips it (exit 77, which ctest counts as
# skipped) with a message saying what is missing.
#   run_browser_test.sh <vrel-devhost> <library folder> <settings folder> <screenshot folder>
cd "$(dirname "$0")" || exit 1
chromium=${VREL_CHROMIUM:-/usr/bin/chromium}
if ! command -v node >/dev/null 2>&1; then
    echo "SKIPPED: node is not installed (Debian: apt-get install nodejs npm)"
    exit 77
fi
if [ ! -x "$chromium" ]; then
    echo "SKIPPED: no Chromium at $chromium (Debian: apt-get install chromium)"
    exit 77
fi
if [ ! -d node_modules/playwright-core ]; then
    echo "SKIPPED: playwright-core is not installed here (run: npm ci --prefix tests/serve/browser)"
    exit 77
fi
exec node serve_page.test.mjs "$@"
