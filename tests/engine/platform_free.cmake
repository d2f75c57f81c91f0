# The engine must build without Qt or any display: no include outside the
# standard library, POSIX and the engine itself.
file(GLOB sources ${ENGINE_DIR}/*.h ${ENGINE_DIR}/*.cpp)
set(allowed "^(engine/.*|[a-z_]+|sys/[a-z]+\\.h|fcntl\\.h|unistd\\.h)$")
foreach(file ${sources})
  file(STRINGS ${file} includes REGEX "^#include")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include [<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    if(NOT header MATCHES "${allowed}")
      message(FATAL_ERROR "${file} includes ${header}, which is not part of the standard library")
    endif()
  endforeach()
endforeach()
