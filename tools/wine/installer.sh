#!/usr/bin/env bash
# The Windows release as its users get it. The zip: one top folder, the files it should hold,
# names marked UTF-8, and a text Notepad shows right (UTF-8 with a byte order mark, CRLF). The
# installer, under Wine in a prefix of its own made afresh: silent into a chosen folder, its
# files, Start-menu shortcuts and uninstall entry there, the installed Tovrik.exe showing its
# window, /PATH adding the folder to the system PATH; the silent uninstaller leaving nothing
# behind, the PATH as it was.
#   tools/wine/installer.sh build/windows     (needs a display: run it under xvfb-run)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?the Windows build folder}" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="$build/Tovrik-$version-win64.zip"
setup="$build/Tovrik-$version-setup.exe"
failures=0
check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        echo "PASS $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}

python3 - "$zip" "$version" <<'EOF' && echo "PASS the zip's layout and text" || failures=$((failures + 1))
import sys, zipfile
path, version = sys.argv[1], sys.argv[2]
top = f"Tovrik-{version}-win64/"
want = {top + name for name in
        ["Tovrik.exe", "tovrik-size.exe", "LICENSE", "使用说明.txt", "使用说明.html"]}
with zipfile.ZipFile(path) as z:
    infos = z.infolist()
    names = {i.filename for i in infos}
    problems = []
    if names != want:
        problems.append(f"holds {sorted(names)}")
    for i in infos:
        if not i.filename.isascii() and not i.flag_bits & 0x800:
            problems.append(f"{i.filename} is not marked UTF-8")
    text = z.read(top + "使用说明.txt")
    if not text.startswith(b"\xef\xbb\xbf"):
        problems.append("the text has no byte order mark")
    if text.count(b"\n") != text.count(b"\r\n") or text.count(b"\r") != text.count(b"\r\n"):
        problems.append("the text's lines do not all end in CRLF")
    text.decode("utf-8")
if problems:
    print("FAIL the zip:", "; ".join(problems))
    sys.exit(1)
EOF

export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/tovrik-setup.XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
"$here/prefix.sh"
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1

folder='C:\Tovrik测试'
unix="$WINEPREFIX/drive_c/Tovrik测试"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovrik'
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
query() { # key [value]: what reg prints, read in the C locale so that no code page garbles it
    LANG=C wine reg query "$@" 2>/dev/null | tr -d '\r'
}
path_now() { query "$environment" /v Path | sed -n 's/^ *Path *REG_[A-Z_]* *//p'; }
gone() { # waits for the uninstaller, which runs from a copy of itself and returns at once
    for _ in $(seq 120); do
        [ ! -e "$unix" ] && ! query "$key" >/dev/null && return 0
        sleep 0.5
    done
    return 1
}
path_before=$(path_now)

# /D= must come last and unquoted; wine quotes an argument with a blank, hence a folder without.
install() { # extra options
    wine "$setup" /S "$@" "/D=$folder" </dev/null >/dev/null 2>&1
}

install
for file in Tovrik.exe tovrik-size.exe LICENSE 使用说明.txt 使用说明.html uninstall.exe; do
    check "installed $file" test -s "$unix/$file"
done
check "the Start-menu shortcut" test -s "$menu/Tovrik.lnk"
check "the guide's shortcut" test -s "$menu/Tovrik 使用说明.lnk"
entry=$(query "$key")
for value in "DisplayName *REG_SZ *Tovrik$" "DisplayVersion *REG_SZ *$version$" \
    "Publisher *REG_SZ *The Tovrik developers$" "UninstallString *REG_SZ" \
    "QuietUninstallString *REG_SZ .* /S$" "DisplayIcon *REG_SZ .*Tovrik.exe$"; do
    check "the uninstall entry's ${value%% *}" grep -q "$value" <<<"$entry"
done
check "the PATH untouched without /PATH" test "$(path_now)" = "$path_before"

wine "$unix/Tovrik.exe" </dev/null >/dev/null 2>&1 &
program=$!
shown() {
    for _ in $(seq 120); do
        xdotool search --name '^Quendal$' >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    return 1
}
check "the installed Tovrik.exe shows its window" shown
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true

wine "$unix/uninstall.exe" /S </dev/null >/dev/null 2>&1
check "the uninstaller removed the folder and the entry" gone
check "and the shortcuts" test ! -e "$menu/Tovrik.lnk" -a ! -e "$menu/Tovrik 使用说明.lnk"

# reg prints in the C locale, where a Chinese folder name would read as question marks.
folder='C:\TovrikPath'
unix="$WINEPREFIX/drive_c/TovrikPath"
install /PATH
check "/PATH added the folder" grep -qF ";$folder" <<<"$(path_now)"
wine "$unix/uninstall.exe" /S </dev/null >/dev/null 2>&1
check "the uninstaller removed it all again" gone
check "and gave the PATH back as it was" test "$(path_now)" = "$path_before"

echo "$failures installer checks failed"
[ "$failures" -eq 0 ]
