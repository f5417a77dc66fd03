#!/usr/bin/env bash
# The Debian packages: `cpack -G DEB` makes the five packages, each holding
# its part of the install and depending on the others as it must, with no
# file in two packages.
#   tst_packages.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/simpackages.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi

# package|a file it must hold|a dependency it must declare (both patterns).
rows=(
    "settings-host|./usr/bin/settings-host$|libqt[56]widgets"
    "settings-host|/libzutoolkit.so$|libqt[56]svg"
    "settings-host|./usr/share/zutoolkit/theme/zutoolkit.theme$|libqt[56]widgets"
    "libsimclients|/libsimtracker.so$|libqt[56]dbus"
    "settings-host-simapplet|/settings-host/applets/libsimapplet.so$|settings-host \(= "
    "settings-host-simapplet|/settings-host/applets/libsimapplet.so$|libsimclients \(= "
    "settings-host-simapplet|./usr/share/settings-host/translations/simapplet_de.qm$|settings-host \(= "
    "sim-services|./usr/libexec/pin-query-service$|libsimclients \(= "
    "sim-services|./usr/libexec/mode-control-daemon$|dbus-system-bus"
    "sim-services|./usr/share/dbus-1/system.d/com.tavik.ronwe.pin.conf$|libqt[56]core"
    "sim-services|./usr/share/dbus-1/system-services/com.tavik.oxa.service$|libqt[56]core"
    "sim-services|./usr/lib/systemd/system/sim-pin-query.service$|libqt[56]core"
    "sim-simulator|./usr/bin/modem-sim$|sim-services \(= "
    "sim-simulator|./usr/bin/phonectl$|libqt[56]dbus"
    "sim-simulator|./usr/bin/at-modem-sim$|libqt[56]network"
)
for row in "${rows[@]}"; do
    IFS='|' read -r package file dependency <<<"$row"
    deb=$(ls "$work/${package}"_*.deb 2>/dev/null | head -n 1)
    if [ -z "$deb" ]; then
        fail "no package $package"
        continue
    fi
    dpkg-deb -c "$deb" | awk '{print $6}' | grep -qE -- "$file" || fail "$package lacks $file"
    dpkg-deb -f "$deb" Depends | grep -qE -- "$dependency" || fail "$package does not depend on $dependency"
done

# Activation files and units name the packaged programs.
services=$(ls "$work"/sim-services_*.deb 2>/dev/null | head -n 1)
if [ -n "$services" ]; then
    dpkg-deb -x "$services" "$work/services"
    grep -hE '^Exec(Start)?=' "$work"/services/usr/share/dbus-1/system-services/* \
        "$work"/services/usr/lib/systemd/system/* | grep -vE '=/usr/libexec/' \
        && fail "an activation file or unit names a program outside /usr/libexec"
fi

# dpkg refuses to install two packages that hold the same file.
for deb in "$work"/*.deb; do
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}'
done | sort | uniq -d >"$work/shared"
[ -s "$work/shared" ] && fail "files in two packages: $(cat "$work/shared")"

for deb in "$work"/*.deb; do
    echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
done
if [ "$failures" -ne 0 ]; then
    echo "tst_packages: $failures failed" >&2
    exit 1
fi
echo "tst_packages: passed"
