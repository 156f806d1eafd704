#!/usr/bin/env bash
# The Win32 window at another number of dots per inch under Wine (inside tools/with-wine.sh),
# with the window's tests named: at 192, the look, a whole letter test with its lookup, the
# slider and the tab order, laid out at twice the pixels; at 288, a window larger than the
# screen. (The prefix is this run's own and is thrown away after it.)
set -u
test=$1 dpi=$2 filter=$3
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -k # Wine reads the setting when it starts
wineserver -w
KESTRAMO_EXPECT_DPI=$dpi wine "$test" --gtest_filter="$filter" </dev/null
passed=$?
# The tests after this one meet the prefix at its usual 96.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wineserver -k
wineserver -w
exit $passed
