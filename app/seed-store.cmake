# Creates an empty template store unless one exists already.
if(NOT EXISTS "${STORE}")
  file(WRITE "${STORE}" "")
endif()
