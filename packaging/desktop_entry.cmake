# Run by cmake --install and by cpack: installs the desktop entry with its Exec line naming
# the program in the prefix being installed into. Set beforehand: QUIBBIX_GAMESDIR,
# QUIBBIX_APPLICATIONSDIR (relative to the prefix), QUIBBIX_DESKTOP_ENTRY, QUIBBIX_STAGING.

set(program "${QUIBBIX_GAMESDIR}/quibbix")
if(NOT IS_ABSOLUTE "${program}")
  set(program "${CMAKE_INSTALL_PREFIX}/${program}")
endif()

# A path with characters the Exec key reserves is quoted, and \ " ` $ inside the quotes
# are escaped; the value's own escaping then doubles every backslash. % is always doubled.
set(exec "${program}")
if(NOT exec MATCHES "^[A-Za-z0-9/._+-]+$")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
string(REPLACE "%" "%%" exec "${exec}")

file(READ "${QUIBBIX_DESKTOP_ENTRY}" entry)
# A plain replacement: a regular expression's replacement would eat the backslashes.
string(REGEX MATCH "\nExec=[^\n]*" line "${entry}")
string(REPLACE "${line}" "\nExec=${exec}" entry "${entry}")

# Staged apart for every destination, so installs into several prefixes at once do not
# overwrite each other's entry before it is copied.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
get_filename_component(name "${QUIBBIX_DESKTOP_ENTRY}" NAME)
set(staged "${QUIBBIX_STAGING}/desktop-${destination}/${name}")
file(WRITE "${staged}" "${entry}")
file(INSTALL "${staged}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QUIBBIX_APPLICATIONSDIR}")
