# quillet_gzip(FILE VAR): compresses FILE the way Debian installs documents
# (gzip -9n: no name or time stamp inside, so rebuilds give the same bytes)
# into the current build folder and sets VAR to the .gz file's path.
function(quillet_gzip file var)
  get_filename_component(name ${file} NAME)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/gz/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${file}
    VERBATIM)
  set(${var} ${copy}.gz PARENT_SCOPE)
endfunction()
