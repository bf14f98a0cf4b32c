#!/usr/bin/env bash
# The Debian package built from the install rules: it holds what a desktop program needs, its
# dependencies exist on this system, it installs with dpkg and the installed program runs.
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
package=$(ls "$work"/out/tivora_*.deb 2>/dev/null | head -1)
[ -n "$package" ] || { echo "FAIL: no package"; exit 1; }
echo "PASS: built $(basename "$package")"

# Every dependency (one alternative of each) is a package this system has.
IFS=',' read -ra depends <<<"$(dpkg-deb -f "$package" Depends)"
for group in "${depends[@]}"; do
    found=0
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        name=$(awk '{print $1}' <<<"$alternative")
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' && found=1
    done
    [ "$found" -eq 1 ] || fail "dependency not available: $group"
done

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --log=/dev/null --force-depends --force-not-root --force-script-chrootless \
    -i "$package" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }

multiarch=$(gcc -print-multiarch 2>/dev/null || dpkg-architecture -qDEB_HOST_MULTIARCH)
for file in usr/bin/tivora usr/bin/tivora-portal usr/lib/$multiarch/tivora/libSkinH_pelm.so \
    usr/share/doc/tivora/copyright usr/share/tivora/skinh.she usr/share/applications/org.tivora.Tivora.desktop \
    usr/share/metainfo/org.tivora.Tivora.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/org.tivora.Tivora.png \
    usr/share/icons/hicolor/256x256/apps/org.tivora.Tivora.png; do
    [ -s "$root/$file" ] || fail "not installed: /$file"
done

# The maintainer is whoever the build names, a real contact by default.
maintainer=$(sed -n 's/^TIVORA_PACKAGE_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")
[ -n "$maintainer" ] && [ "$(dpkg-deb -f "$package" Maintainer)" = "$maintainer" ] ||
    fail "Maintainer is '$(dpkg-deb -f "$package" Maintainer)', not the build's '$maintainer'"
grep -q '^[^<>@ ][^<>@]* <[^<>@ ]*@[^<>@ ]*\.[a-z]*>$' <<<"$maintainer" ||
    fail "maintainer '$maintainer' is not 'name <address>'"

# The private skin library is no business of ldconfig: no maintainer script or trigger calls it.
dpkg-deb -e "$package" "$work/control"
if grep -rl ldconfig "$work/control" >/dev/null; then
    fail "the package calls ldconfig: $(grep -rl ldconfig "$work/control" | xargs -n1 basename)"
else
    echo "PASS: no ldconfig calls or triggers"
fi

# A machine-readable copyright file naming Tivora's licence and the parts it links.
python3 - "$root/usr/share/doc/tivora/copyright" <<'PY' || fail "copyright file"
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
paragraphs = [p for p in re.split(r"\n\s*\n", text.strip()) if p.strip()]
def fields(paragraph):
    result, name = {}, None
    for line in paragraph.splitlines():
        if line[:1] in (" ", "\t") and name:
            result[name] += "\n" + line.strip()
        else:
            name, _, value = line.partition(":")
            assert name and _, f"not a field: {line!r}"
            result[name] = value.strip()
    return result
header, rest = fields(paragraphs[0]), [fields(p) for p in paragraphs[1:]]
assert header.get("Format") == \
    "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/", "Format"
assert header.get("Upstream-Name") == "Tivora"
files = [p for p in rest if "Files" in p]
assert files and files[0]["Files"] == "*", "a Files: * paragraph first"
texts = {p["License"].split("\n")[0] for p in rest if "Files" not in p and "License" in p}
for paragraph in files:
    assert paragraph.get("Copyright"), "Copyright"
    name, _, body = paragraph["License"].partition("\n")
    assert name and (body.strip() or name in texts), f"licence {name} has no text"
for part in ["Qt 6", "Qt WebEngine", "Chromium", "libmpv", "libcurl", "Boost", "SQLite",
             "No font is bundled"]:
    assert part in header.get("Comment", ""), f"{part} not named"
assert "@" not in text.replace(header["Upstream-Contact"], ""), "an unset template variable"
print("PASS: copyright file is machine-readable and names the licence and third-party parts")
PY

desktop=$root/usr/share/applications/org.tivora.Tivora.desktop
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
for line in "GenericName=影视点播客户端" "Categories=AudioVideo;Video;Player;" "application/vnd.rn-realmedia;" "video/mp4;"; do
    grep -qF -- "$line" "$desktop" || fail "desktop entry lacks $line"
done
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tivora.Tivora.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "metainfo does not validate"; }

version=$(env -u DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/tivora" --version 2>&1)
grep -q "^Tivora 1\." <<<"$version" && echo "PASS: installed program: $version" ||
    fail "installed program answered '$version'"

# Run from where it was installed, the program finds its skin library and skin file.
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
# No session bus: libdbus's autolaunch through dbus-launch can hang the program's first
# accessibility query.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
xvfb-run -a -s "-screen 0 1280x800x24 +extension GLX" env QT_QPA_PLATFORM=xcb \
    QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    bash -c '"$1" --new-instance & pid=$!; sleep 6; kill -TERM $pid; wait $pid' run \
    "$root/usr/bin/tivora" >"$work/run.log" 2>&1 || { tail -5 "$work/run.log"; fail "installed program did not run"; }
if grep -q "unskinned" "$work/run.log"; then
    grep "unskinned" "$work/run.log"
    fail "installed program did not find its skin"
else
    echo "PASS: installed program ran with its skin"
fi

[ "$failures" -eq 0 ] && echo "PASS: package" || exit 1
