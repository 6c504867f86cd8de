# Installs the desktop entry, naming the program by its installed path, and updates the
# desktop database so that file managers offer quorpad for the entry's file types.
#   ENTRY_IN  the entry with @BINDIR@ in place of the program's folder
#   BINDIR    the folder of the installed program link
#   APPS_DIR  where the entry goes (DESTDIR included)
#   DESTDIR   set when installing into a staging tree, whose database is not ours to update

# "@BINDIR@" below is the placeholder itself, not a reference to the variable.
cmake_policy(PUSH)
cmake_policy(SET CMP0053 NEW)

# The Exec key takes the path inside double quotes, where " ` $ and \ are escaped with a
# backslash; the key's value is itself a string in which a backslash is doubled, and a
# per cent sign is doubled as it would start a field code.
set(path "${BINDIR}")
string(REPLACE [[\]] [[\\]] path "${path}")
string(REPLACE [["]] [[\"]] path "${path}")
string(REPLACE [[`]] [[\`]] path "${path}")
string(REPLACE [[$]] [[\$]] path "${path}")
string(REPLACE [[\]] [[\\]] path "${path}")
string(REPLACE [[%]] [[%%]] path "${path}")

file(READ "${ENTRY_IN}" entry)
string(REPLACE "@BINDIR@" "${path}" entry "${entry}")
set(desktop "${APPS_DIR}/quorpad.desktop")
message(STATUS "Installing: ${desktop}")
file(WRITE "${desktop}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${desktop}")

find_program(UPDATE_DESKTOP_DATABASE update-desktop-database)
if(UPDATE_DESKTOP_DATABASE AND NOT DESTDIR)
  execute_process(COMMAND "${UPDATE_DESKTOP_DATABASE}" -q "${APPS_DIR}"
                  RESULT_VARIABLE result)
  if(result EQUAL 0)
    message(STATUS "Updated the desktop database in ${APPS_DIR}")
  else()
    message(WARNING "update-desktop-database ${APPS_DIR} failed (${result}); file managers may "
                    "not offer quorpad until it runs")
  endif()
endif()
cmake_policy(POP)
