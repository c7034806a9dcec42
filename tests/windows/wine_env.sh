# The Wine settings of every Windows test, sourced (by sh or bash) once
# WINEPREFIX names the prefix: by the runner scripts made from
# snack-order-wine.in, by wine_prefix.sh and by installer.sh. Wine's own
# messages are off: they would land on the standard error that a transcript
# requires empty. Mono and Gecko are off, lest Wine offer to install them.
# explorer.exe is kept from starting: with no display it cannot show a
# desktop anyway, and when a session starts from a terminal it joins that
# terminal's console and can take the keys typed for the program.
: "${WINEPREFIX:?must name the prefix before wine_env.sh is sourced}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;explorer.exe=d'
