#!/usr/bin/env bash
# One plug-in surface: the host resolves the plug-in's two entry points, and
# nothing else may leave libsimapplet.so; an exported class of the applet
# could bind to, or clash with, a symbol of the host or of another plug-in.
#   tst_pluginsymbols.sh PLUGIN
set -u -o pipefail
entries='qt_plugin_instance qt_plugin_query_verification_data'
symbols=$(nm -D --defined-only "$1" | awk '{print $3}' | sort) || exit 1
if [ "$(echo $symbols)" != "$entries" ]; then
    echo "FAIL: $1 exports, besides its entry points:" >&2
    comm -23 <(echo "$symbols") <(tr ' ' '\n' <<<"$entries") | c++filt >&2
    comm -13 <(echo "$symbols") <(tr ' ' '\n' <<<"$entries") | sed 's/^/missing: /' >&2
    exit 1
fi
echo "tst_pluginsymbols: passed"
