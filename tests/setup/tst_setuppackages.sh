#!/usr/bin/env bash
# Fails when the configured build uses something that scripts/setup does not
# install, which a fresh machine would then lack. Checked are the CMake
# package configurations, programs and directories the configuration found
# (CMakeCache.txt, with the tools the scripts and tests call), the build tools
# from imported targets, the shared libraries the built programs load, and
# the Qt plug-ins the settings host loads. Each must come from a Debian
# package that scripts/setup names, or that a named package depends on
# (directly or not), or that every Debian system has (essential or required).
# A missing one is printed with the package to add.
#   tests/setup/tst_setuppackages.sh BUILD_DIR [FOUND_TOOLS_FILE] [HOST_PROGRAM APPLET]
# FOUND_TOOLS_FILE lists more files the build uses, one "what<TAB>path" per
# line. With HOST_PROGRAM and APPLET the host opens the page off screen (and
# under xvfb-run when there is one) to show which Qt plug-ins it loads; run
# that on a private bus (scripts/with-private-bus).
set -u
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
tools=${2:-}
host=${3:-}
applet=${4:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/simpackages.XXXXXX")
trap 'rm -rf "$work"' EXIT
problems=()

# What setup installs, and everything that brings along.
if ! "$top/scripts/setup" --list >"$work/listed"; then
    echo "setuppackages: scripts/setup --list failed" >&2
    exit 1
fi
dpkg-query -W -f='${db:Status-Status}\t${Package}\t${Essential}\t${Priority}\t${Provides}\t${Pre-Depends}, ${Depends}\n' \
    >"$work/installed"
awk -F'\t' -v listed="$work/listed" '
    function names(field, out,    n, i, parts, name) {
        n = split(field, parts, /[,|]/)
        for (i = 1; i <= n; i++) {
            name = parts[i]
            sub(/^ +/, "", name)
            sub(/[ (].*$/, "", name)
            sub(/:.*$/, "", name)
            if (name != "") out[name] = 1
        }
    }
    $1 == "installed" {
        installed[$2] = 1
        deps[$2] = $6
        if ($3 == "yes" || $4 == "required") base[$2] = 1
        delete provided
        names($5, provided)
        for (p in provided) providers[p] = providers[p] " " $2
    }
    END {
        while ((getline line < listed) > 0) {
            if (!(line in installed) && !(line in providers)) print "missing\t" line
            queue[++tail] = line
        }
        for (p in base) queue[++tail] = p
        for (head = 1; head <= tail; head++) {
            p = queue[head]
            if (p in covered) continue
            covered[p] = 1
            if (p in providers) {
                n = split(providers[p], via, " ")
                for (i = 1; i <= n; i++) queue[++tail] = via[i]
            }
            if (!(p in installed)) continue
            delete next_names
            names(deps[p], next_names)
            for (d in next_names) if (!(d in covered)) queue[++tail] = d
        }
        for (p in covered) if (p in installed) print "covered\t" p
    }' "$work/installed" >"$work/closure"
while IFS=$'\t' read -r _ package; do
    problems+=("scripts/setup names $package, which is not installed: run scripts/setup")
done < <(grep '^missing' "$work/closure")
grep '^covered' "$work/closure" | cut -f2 | sort -u >"$work/covered"

# What the build uses: "what<TAB>path" lines.
used=$work/used
: >"$used"
inside() {
    case $1 in "$top" | "$top"/* | "$build" | "$build"/*) return 0 ;; esac
    return 1
}
while IFS= read -r line; do
    name=${line%%:*}
    value=${line#*=}
    case $value in
    *-NOTFOUND)
        # Our own look-ups are of things the tests and scripts need.
        case $name in SIM_*) problems+=("$name: not found; add the package that has it to scripts/setup") ;; esac
        continue
        ;;
    /*) ;;
    *) continue ;;
    esac
    # Where things go, and the trees of this and other builds, are not
    # things the build found on the machine.
    case $name in
    *INSTALL_PREFIX | CMAKE_CACHEFILE_DIR | CMAKE_HOME_DIRECTORY | *_BINARY_DIR | *_SOURCE_DIR) continue ;;
    esac
    [[ $value == *";"* ]] && continue
    inside "$value" && continue
    [ -e "$value" ] || continue
    [ -f "$value/CMakeCache.txt" ] && continue
    if [[ $name == *_DIR ]] && [ -d "$value" ]; then
        # A package configuration: its file says which package it is.
        package=${name%_DIR}
        for config in "$value/${package}Config.cmake" "$value/${package,,}-config.cmake"; do
            [ -f "$config" ] && { value=$config; break; }
        done
    fi
    printf '%s\t%s\n' "$name" "$value" >>"$used"
done < <(grep -E '^[A-Za-z0-9_.+-]+:(FILEPATH|PATH|STRING|INTERNAL)=' "$build/CMakeCache.txt")

if [ -n "$tools" ]; then
    while IFS=$'\t' read -r what path; do
        [ -n "$path" ] || continue
        if [ -e "$path" ]; then
            inside "$path" || printf '%s\t%s\n' "$what" "$path" >>"$used"
        else
            problems+=("$what: $path does not exist")
        fi
    done <"$tools"
fi

# Libraries of everything built.
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | tr -d '\0')" = $'\x7fELF' ] || continue
    ldd "$file" 2>/dev/null | awk -v what="${file#"$build"/}" \
        '$2 == "=>" && $3 ~ /^\// { print "library of " what "\t" $3 } $2 == "=>" && $3 == "not" { print "missing library of " what "\t" $1 }'
done < <(find "$build" -path "$build/CMakeFiles" -prune -o -type f \( -perm -u+x -o -name '*.so*' \) -print0) |
    sort -u -t$'\t' -k2,2 >"$work/libraries"
while IFS=$'\t' read -r what path; do
    case $what in
    missing*) problems+=("$what: $path not found") ;;
    *) inside "$path" || printf '%s\t%s\n' "$what" "$path" >>"$used" ;;
    esac
done <"$work/libraries"

# Qt plug-ins the host loads: off screen, and on an X display.
# plugins PLATFORM [WRAPPER...]
plugins() {
    local platform=$1
    shift
    QT_DEBUG_PLUGINS=1 QT_QPA_PLATFORM=$platform "$@" "$host" --plugin "$applet" \
        --open 0 --screenshot "$work/page.png" 2>&1 >/dev/null |
        # Qt 5 writes: loaded library "FILE"; Qt 6: "FILE" loaded library.
        sed -n -E -e 's/^loaded library "(\/[^"]*)".*$/\1/p' \
            -e 's/^(qt\.core\.library: )?"(\/[^"]*)" loaded library$/\2/p' |
        while IFS= read -r path; do
            inside "$path" || printf 'Qt plug-in (%s)\t%s\n' "$platform" "$path"
        done
}
if [ -n "$host" ]; then
    plugins offscreen >"$work/plugins"
    if command -v xvfb-run >/dev/null; then
        plugins xcb xvfb-run -a >>"$work/plugins"
    else
        problems+=("xvfb-run: not found; add xvfb to scripts/setup")
    fi
    grep -q . "$work/plugins" || problems+=("the host loaded no Qt plug-in: cannot tell which it needs")
    sort -u "$work/plugins" >>"$used"
fi

# Which package each file is from. dpkg knows a file by the path its package
# ships it under: follow links, and try the path without /usr on a merged /usr.
candidates() {
    local path=$1 real
    real=$(readlink -f "$path")
    printf '%s\n' "$path" "$real"
    for p in "$path" "$real"; do
        case $p in /usr/bin/* | /usr/sbin/* | /usr/lib/* | /usr/lib64/*) printf '%s\n' "${p#/usr}" ;; esac
        printf '%s\n' "$(readlink -f "$(dirname "$p")")/$(basename "$p")"
    done
}
cut -f2 "$used" | sort -u | while IFS= read -r path; do candidates "$path"; done | sort -u >"$work/paths"
xargs -d '\n' -a "$work/paths" dpkg-query -S 2>/dev/null |
    awk '{ i = index($0, ": /"); if (i) print substr($0, i + 2) "\t" substr($0, 1, i - 1) }' \
        >"$work/owners"

count=0
while IFS=$'\t' read -r what path; do
    count=$((count + 1))
    owners=
    while IFS= read -r candidate; do
        owners=$(awk -F'\t' -v p="$candidate" '$1 == p { print $2; exit }' "$work/owners")
        [ -n "$owners" ] && break
    done < <(candidates "$path")
    if [ -z "$owners" ]; then
        problems+=("$what: $path is from no Debian package")
        continue
    fi
    ok=no
    first=
    IFS=', ' read -r -a packages <<<"$owners"
    for package in "${packages[@]}"; do
        package=${package%%:*}
        [ -n "$package" ] || continue
        first=${first:-$package}
        grep -qxF "$package" "$work/covered" && { ok=yes; break; }
    done
    [ "$ok" = yes ] || problems+=("$what: $path is from $first: add $first to scripts/setup")
done <"$used"

if [ ${#problems[@]} -gt 0 ]; then
    printf 'setuppackages: %s\n' "${problems[@]}" | sort -u >&2
    echo "setuppackages: FAILED: the build uses what scripts/setup does not install" >&2
    exit 1
fi
echo "setuppackages: $count files the build uses, all from packages scripts/setup installs" \
    "($(wc -l <"$work/listed") named, $(wc -l <"$work/covered") with what they pull in)"
