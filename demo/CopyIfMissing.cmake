# Copies SRC to DST only when DST does not exist, so edits made in the program survive a rebuild.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
