# Lists our own files matching the given patterns (e.g. '*.cpp'), one a line,
# as paths under $source_dir: the files git tracks, and new ones it does
# not ignore; outside a git checkout, every such file but the build trees.
list_sources() {
  if git -C "$source_dir" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git -C "$source_dir" ls-files --cached --others --exclude-standard -- "$@" | sed "s|^|$source_dir/|"
  else
    local pattern names=()
    for pattern in "$@"; do names+=(-o -name "$pattern"); done
    find "$source_dir" -path "$source_dir/build" -prune -o -path "$source_dir/.git" -prune \
      -o -type f \( "${names[@]:1}" \) -print
  fi
}
