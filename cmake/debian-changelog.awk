# Turns CHANGELOG.md into the Debian changelog of the package:
#   awk -v package=NAME -v maintainer="Name <address>" -v date="RFC 2822 date" \
#       -f debian-changelog.awk CHANGELOG.md
# "## VERSION" starts a release, "## VERSION (YYYY-MM-DD)" one with its own date (else the
# date given, the build's); "### TITLE" a group within it, "- " an item and indented lines
# its continuation. Everything before the first release is the file's own introduction.
function close_release() {
  if (open) printf "\n -- %s  %s\n", maintainer, release_date
  open = 0
}
function day(text,   command, result) {
  command = "date -u -R -d " text
  command | getline result
  close(command)
  return result
}
/^## / {
  close_release()
  if (released) print ""
  version = $2
  release_date = date
  if ($3 ~ /^\([0-9]+-[0-9]+-[0-9]+\)$/) release_date = day(substr($3, 2, length($3) - 2))
  printf "%s (%s) unstable; urgency=medium\n\n", package, version
  open = released = 1
  groups = 0
  next
}
!open { next }
{ gsub(/`/, "") }
/^### / { if (groups++) print ""; print "  * " substr($0, 5) ":"; next }
/^- / { print "    - " substr($0, 3); next }
/^  [^ ]/ { print "      " substr($0, 3); next }
END { close_release() }
