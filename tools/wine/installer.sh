#!/usr/bin/env bash
# The Windows release as its users get it. The zip: one top folder, the files it should hold,
# names marked UTF-8, and a text Notepad shows right (UTF-8 with a byte order mark, CRLF). The
# installer, under Wine in a prefix of its own made afresh: silent into a chosen folder, its
# files, Start-menu shortcuts and uninstall entry there, the installed Tovrik.exe showing its
# window, /PATH adding the folder to the system PATH; the silent uninstaller leaving nothing
# behind, the PATH as it was and of the type it was. Neither changes a thing while Tovrik.exe
# runs, and there is only ever one installation.
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
        ["Tovrik.exe", "tovrik-size.exe", "LICENSE", "使用说明.txt", "使用说明.html",
         "管线表示例.csv"]}
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
    # The example line list as Excel on a Chinese Windows saves it: GBK, CRLF, Chinese headers.
    example = z.read(top + "管线表示例.csv")
    if example.count(b"\n") != example.count(b"\r\n") or not example.endswith(b"\r\n"):
        problems.append("the example's lines do not all end in CRLF")
    try:
        header = example.decode("gbk").split("\r\n")[0]
        if not header.startswith("管线号,") or example.startswith(b"\xef\xbb\xbf"):
            problems.append(f"the example's header is {header}")
    except UnicodeDecodeError:
        problems.append("the example is not GBK")
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
path_type() { query "$environment" /v Path | sed -n 's/^ *Path *\(REG_[A-Z_]*\).*/\1/p'; }
set_path() { # type, value
    LANG=C wine reg add "$environment" /v Path /t "$1" /d "$2" /f </dev/null >/dev/null 2>&1
}
gone() { # waits for the uninstaller, which runs from a copy of itself and returns at once
    for _ in $(seq 120); do
        [ ! -e "$unix" ] && ! query "$key" >/dev/null && return 0
        sleep 0.5
    done
    return 1
}
path_before=$(path_now)
type_before=$(path_type)

# /D= must come last and unquoted; wine quotes an argument with a blank, hence a folder without.
install() { # extra options
    wine "$setup" /S "$@" "/D=$folder" </dev/null >/dev/null 2>&1
}
uninstall() {
    wine "$unix/uninstall.exe" /S </dev/null >/dev/null 2>&1
    gone
}

install
for file in Tovrik.exe tovrik-size.exe LICENSE 使用说明.txt 使用说明.html 管线表示例.csv \
    uninstall.exe; do
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

# While it runs its file can be neither deleted nor replaced: the uninstaller and a new install
# refuse, silently with a failing status, before they change anything. _?= keeps the
# uninstaller in place, where its status can be seen; from its copy it decides the same.
touch -d 2001-01-01 "$unix/LICENSE" # a new install would write it anew
untouched() {
    test "$(query "$key")" = "$entry" && test -s "$unix/Tovrik.exe" -a -s "$unix/uninstall.exe" \
        && test -s "$menu/Tovrik.lnk" -a -s "$menu/Tovrik 使用说明.lnk" \
        && test "$(date -r "$unix/LICENSE" +%Y)" = 2001
}
status=0
wine "$unix/uninstall.exe" /S "_?=$folder" </dev/null >/dev/null 2>&1 || status=$?
check "the uninstaller fails while Tovrik.exe runs" test "$status" -ne 0
check "and leaves it installed as it was" untouched
status=0
install || status=$?
check "installing over a running Tovrik.exe fails" test "$status" -ne 0
check "and changes nothing" untouched
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true

check "the uninstaller removed the folder and the entry" uninstall
check "and the shortcuts" test ! -e "$menu/Tovrik.lnk" -a ! -e "$menu/Tovrik 使用说明.lnk"

# One installation only, which its entry removes whole: another install, told another folder,
# goes where Tovrik is already.
folder='C:\TovrikOne'
unix="$WINEPREFIX/drive_c/TovrikOne"
install
wine "$setup" /S '/D=C:\TovrikTwo' </dev/null >/dev/null 2>&1
check "a second install goes into the folder already installed" \
    test ! -e "$WINEPREFIX/drive_c/TovrikTwo" -a -s "$unix/Tovrik.exe"
check "which the entry still names" \
    grep -q 'InstallLocation *REG_SZ *C:\\TovrikOne$' <<<"$(query "$key")"
# As earlier installers left it: a second copy, whose uninstaller must not take the entry.
copy="$WINEPREFIX/drive_c/TovrikCopy"
cp -r "$unix" "$copy"
copy_uninstalled() {
    wine "$copy/uninstall.exe" /S </dev/null >/dev/null 2>&1
    for _ in $(seq 120); do [ -e "$copy" ] || break; sleep 0.5; done
    test ! -e "$copy" -a -s "$unix/Tovrik.exe" -a -s "$menu/Tovrik.lnk" && query "$key" >/dev/null
}
check "a copy elsewhere uninstalls its own files only" copy_uninstalled
check "and the uninstaller removes it all" uninstall

# reg prints in the C locale, where a Chinese folder name would read as question marks.
folder='C:\TovrikPath'
unix="$WINEPREFIX/drive_c/TovrikPath"
install /PATH
check "/PATH added the folder" grep -qF ";$folder" <<<"$(path_now)"
check "the uninstaller removed it all again" uninstall
check "and gave the PATH back as it was" test "$(path_type) $(path_now)" = "$type_before $path_before"

# The PATH keeps its type, and the uninstaller takes out only the entry the installer added.
for type in REG_SZ REG_EXPAND_SZ; do
    value='%SystemRoot%\system32;%SystemRoot%;C:\Tools'
    [ $type = REG_SZ ] && value='C:\windows\system32;C:\windows;C:\Tools'
    set_path $type "$value"
    install /PATH
    check "/PATH keeps a $type PATH $type" \
        test "$(path_type) $(path_now)" = "$type $value;$folder"
    uninstall || true
    check "and so does the uninstaller, as it was" test "$(path_type) $(path_now)" = "$type $value"
done
set_path REG_EXPAND_SZ "$path_before;$folder"
install /PATH
check "a PATH naming the folder already stays as it is" test "$(path_now)" = "$path_before;$folder"
uninstall || true
check "and the uninstaller leaves it there" test "$(path_now)" = "$path_before;$folder"
set_path REG_EXPAND_SZ "$path_before"
install /PATH
set_path REG_EXPAND_SZ "$(path_now);C:\Later"
uninstall || true
check "the uninstaller leaves what was added after the folder" \
    test "$(path_now)" = "$path_before;C:\Later"

# A PATH longer than the installer's strings is left whole, by both, never cut to the folder.
long="$path_before"
for n in $(seq 100); do long="$long;C:\Tools\t$n"; done
set_path REG_EXPAND_SZ "$long"
install /PATH
check "a PATH too long to edit is left whole" test "$(path_now)" = "$long"
uninstall || true
set_path REG_EXPAND_SZ "$path_before"
install /PATH
set_path REG_EXPAND_SZ "$(path_now);$long"
uninstall || true
check "by the uninstaller too" test "$(path_now)" = "$path_before;$folder;$long"
set_path "$type_before" "$path_before"

echo "$failures installer checks failed"
[ "$failures" -eq 0 ]
