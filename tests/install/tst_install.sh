#!/usr/bin/env bash
# The installed system: installs the build into a temporary prefix, runs the
# INSTALLED host against the INSTALLED plug-in and services on a private bus
# that reads the installed policy and activation files, and checks that
# opening the SIM page starts the mode-control daemon and the PIN query
# service by D-Bus activation. Then broken installs, one row each: a clear
# message and a non-zero exit, never a crash.
#   tst_install.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/siminstall.XXXXXX")
prefix=$work/prefix
failures=0
buspid=
modempid=

# The private bus's own questions (its address is set once it runs).
bus() {
    dbus-send --system --print-reply=literal --dest=org.freedesktop.DBus / "org.freedesktop.DBus.$@" 2>/dev/null
}
owned() {
    [ "$(bus NameHasOwner "string:$1" | awk '{print $2}')" = true ]
}
owner_pid() {
    bus GetConnectionUnixProcessID "string:$1" | awk '{print $2}'
}
activated_pids() {
    [ -n "$buspid" ] || return 0
    owner_pid com.tavik.oxa
    owner_pid com.tavik.ronwe.pin
}
# wait_for owned|released NAME: polls the bus for at most ten seconds.
wait_for() {
    local tries=100
    until { [ "$1" = owned ] && owned "$2"; } || { [ "$1" = released ] && ! owned "$2"; }; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

cleanup() {
    for pid in $modempid $(activated_pids) $buspid; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The installed policies let only root own the services' names, as on a
# phone.
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the installed bus policies let only root own the service names"
    exit 77
fi

if ! cmake --install "$build" --prefix "$prefix" --strip >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

# Nothing installed may point back into the build or the source tree.
baked=$(grep -rlF -e "$build" -e "$source" "$prefix")
[ -z "$baked" ] && baked=$(find "$prefix" -type l -lname "$build*" -o -type l -lname "$source*")
[ -z "$baked" ] || fail "build or source paths in: $baked"

for file in share/dbus-1/system.d/com.tavik.oxa.conf share/dbus-1/system.d/com.tavik.ronwe.pin.conf \
    lib/systemd/system/sim-mode-control.service lib/systemd/system/sim-pin-query.service; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
# Every activation file and unit names an installed program.
for file in "$prefix"/share/dbus-1/system-services/*.service "$prefix"/lib/systemd/system/*.service; do
    program=$(sed -n 's/^Exec\(Start\)\{0,1\}=\([^ ]*\).*/\2/p' "$file")
    [ -x "$program" ] && [ "${program#"$prefix"/}" != "$program" ] \
        || fail "$(basename "$file") names \"$program\", not a program of the prefix"
done

# A bus set up like a real system bus (everything denied unless allowed),
# reading the installed policies and activation files. On a phone the
# telephony service's own policy lets it own its name; here the simulated
# modem takes that place.
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/bus</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$prefix/share/dbus-1/system-services</servicedir>
  <policy context="default">
    <allow user="*"/>
    <deny own="*"/>
    <deny send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Introspectable"/>
  </policy>
  <policy user="root">
    <allow own="org.ofono"/>
    <allow own="com.tavik.sim.Modem"/>
    <allow send_destination="org.ofono"/>
  </policy>
  <includedir>$prefix/share/dbus-1/system.d</includedir>
</busconfig>
CONF
# Programs started by the bus inherit its environment, so they find it too.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus
export DBUS_SESSION_BUS_ADDRESS=$DBUS_SYSTEM_BUS_ADDRESS
export QT_QPA_PLATFORM=offscreen
mkfifo "$work/ready"
setpriv --pdeathsig TERM -- dbus-daemon --nofork --nopidfile --nosyslog \
    --config-file="$work/bus.conf" --print-address=3 3>"$work/ready" 2>"$work/bus.log" &
buspid=$!
if ! read -r _ <"$work/ready"; then
    cat "$work/bus.log" >&2
    echo "FAIL: the bus did not start" >&2
    exit 1
fi

"$prefix/bin/modem-sim" >"$work/modem.log" 2>&1 &
modempid=$!
wait_for owned org.ofono || { cat "$work/modem.log" >&2; echo "FAIL: modem-sim did not start" >&2; exit 1; }

for name in com.tavik.oxa com.tavik.ronwe.pin; do
    bus ListActivatableNames | grep -qw "$name" || fail "$name is not activatable"
    ! owned "$name" || fail "$name runs before anyone called it"
done

# The page waits for the card's PIN: the activate row shows once the page has
# heard from the card and from the mode-control daemon.
printf 'open 0\nwait visible SimActivateSimItem 20000\n' >"$work/page.script"
if ! "$prefix/bin/settings-host" --lang en --script "$work/page.script" >"$work/host.log" 2>&1; then
    cat "$work/host.log" "$work/bus.log" >&2
    fail "the installed host did not show the SIM page"
fi
for program in mode-control-daemon:com.tavik.oxa pin-query-service:com.tavik.ronwe.pin; do
    name=${program#*:}
    pid=$(owner_pid "$name")
    exe=$(readlink "/proc/${pid:-0}/exe")
    [ "$exe" = "$prefix/libexec/${program%%:*}" ] \
        || fail "$name is owned by \"$exe\", not the installed ${program%%:*} started by the bus"
done

# Broken installs. run_row NAME EXIT TEXT COMMAND...: the command must exit
# with EXIT and say TEXT.
run_row() {
    local row=$1 expected=$2 text=$3 status
    shift 3
    "$@" >"$work/row.log" 2>&1
    status=$?
    if [ "$status" -ne "$expected" ] || ! grep -qF -- "$text" "$work/row.log"; then
        fail "$row: exit $status, wanted $expected and \"$text\":"
        cat "$work/row.log" >&2
    fi
}
host=$prefix/bin/settings-host
applets=$(dirname "$(find "$prefix" -name libsimapplet.so)")
theme=$(find "$prefix" -name zutoolkit.theme)
catalogue=$(find "$prefix" -name simapplet_de.qm)

mv "$applets" "$applets.away"
run_row "applet folder missing" 4 "no applet directory $applets" "$host" --open 0
mv "$applets.away" "$applets"

mv "$theme" "$theme.away"
run_row "theme file missing" 5 "cannot read the theme in $(dirname "$theme")" "$host" --open 0
mv "$theme.away" "$theme"

mv "$catalogue" "$catalogue.away"
run_row "catalogue missing" 2 "no catalogue for language \"de\"" "$host" --lang de --list
mv "$catalogue.away" "$catalogue"

# The PIN query service's program is gone: the bus says so to every caller,
# and the page goes on without it.
kill "$(owner_pid com.tavik.ronwe.pin)"
wait_for released com.tavik.ronwe.pin || fail "the PIN query service did not stop"
pinquery=$prefix/libexec/pin-query-service
rm "$pinquery"
run_row "activated program missing, a direct call" 1 "Failed to execute program com.tavik.ronwe.pin" \
    dbus-send --system --print-reply --dest=com.tavik.ronwe.pin / org.freedesktop.DBus.Peer.Ping
printf 'open 0\nwait visible SimActivateSimItem 20000\ntap SimActivateSimItem\n' >"$work/page.script"
run_row "activated program missing, the page" 0 "No interface to PIN query!" \
    "$host" --lang en --script "$work/page.script"

if [ "$failures" -ne 0 ]; then
    echo "tst_install: $failures failed" >&2
    exit 1
fi
echo "tst_install: passed"
