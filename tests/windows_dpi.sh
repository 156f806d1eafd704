#!/usr/bin/env bash
# The Win32 window at 192 dots per inch under Wine (inside tools/with-wine.sh): the
# look, a whole letter test with its lookup, the slider and the tab order, laid out at
# twice the pixels. (The prefix is this run's own and is thrown away after it.)
set -u
test=$1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
wineserver -k # Wine reads the setting when it starts
wineserver -w
KESTRAMO_EXPECT_DPI=192 wine "$test" \
    --gtest_filter='Window.StartUp*:Window.WholeLetter*:Window.SliderChangeRules:Window.TabOrder*' \
    </dev/null
