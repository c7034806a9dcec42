# Identical screens in a row (a screen ends at each clearing, \f) shown once
# after a "[N times]" line, so that a million turns compare as a few.
BEGIN { RS = "\f" }
function emit(last) { printf "%s%s%s", (count > 1 ? "[" count " times]\n" : ""), screen, (last ? "" : "\f") }
NR == 1 { screen = $0; count = 1; next }
$0 == screen { ++count; next }
{ emit(0); screen = $0; count = 1 }
END { emit(1) }
