# Sourced by the Windows scripts under Wine: a check that counts, paths between Wine and
# here, what Programs and Features lists, and the installer asked again while it is busy.
passed=0
fail=0
failed=""
check() {
    if eval "$2"; then
        echo "ok: $1"
        passed=$((passed + 1))
    else
        echo "FAIL: $1"
        fail=$((fail + 1))
        failed="$failed; $1"
    fi
}
# The last line of a run, which a log cut to its end still shows: the count and what failed.
report_checks() { echo "$1: $passed passed, $fail failed${failed:+ ($failed)}" | sed 's/(; /(/'; }
# winepath now and then answers nothing while Wine is busy starting: ask again.
unix() {
    local path=""
    for _ in 1 2 3 4 5; do
        path=$(winepath -u "$1" 2>/dev/null) && [ -n "$path" ] && break
        sleep 0.5
    done
    printf '%s\n' "$path"
}
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The value of one name under a registry key, or nothing.
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^  */, ""); print }'; }
# The Programs and Features entries named Kestramo, by their keys' names.
entries() {
    wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ { key = $0 } $1 == "DisplayName" && $3 == "Kestramo" { print key }' |
        sed 's/.*\\//'
}
# The installer runs one installation at a time: while another is still ending (or its
# service still starting) it answers 1618 at once. Asked again a moment later.
msiexec() {
    local status
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        wine msiexec "$@"
        status=$?
        [ $status -ne $((1618 % 256)) ] && break
        sleep 1
    done
    return $status
}
