# The list of pictures drawn at build time (resources/art/prerendered.txt),
# read once for the rule that draws them (tools/art) and the resources that
# embed them (resources): QUELLON_PRERENDER_PICTURES, "<file>:<w>x<h>" for
# the drawing tool, QUELLON_PRERENDERED_PATHS, the files drawn, two ratios
# each, and QUELLON_PRERENDER_SOURCES, the SVG files they come from.
set(QUELLON_ART_DIR ${CMAKE_SOURCE_DIR}/resources/art)
set(QUELLON_PRERENDER_LIST ${QUELLON_ART_DIR}/prerendered.txt)
set(QUELLON_PRERENDER_DIR ${CMAKE_BINARY_DIR}/prerendered)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUELLON_PRERENDER_LIST})
file(STRINGS ${QUELLON_PRERENDER_LIST} prerender_lines)
set(QUELLON_PRERENDER_PICTURES)
set(QUELLON_PRERENDERED_PATHS)
set(QUELLON_PRERENDER_SOURCES)
foreach(line IN LISTS prerender_lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([^ \t]+\\.svg)[ \t]+([0-9]+)x([0-9]+)$")
    message(FATAL_ERROR "${QUELLON_PRERENDER_LIST}: expected \"<file>.svg <width>x<height>\", not \"${line}\"")
  endif()
  list(APPEND QUELLON_PRERENDER_PICTURES "${CMAKE_MATCH_1}:${CMAKE_MATCH_2}x${CMAKE_MATCH_3}")
  list(APPEND QUELLON_PRERENDER_SOURCES ${QUELLON_ART_DIR}/${CMAKE_MATCH_1})
  foreach(ratio 1 2)  # kPrerenderedRatios in ui/art_render.h
    list(APPEND QUELLON_PRERENDERED_PATHS "${QUELLON_PRERENDER_DIR}/${CMAKE_MATCH_1}@${CMAKE_MATCH_2}x${CMAKE_MATCH_3}@${ratio}.argb")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES QUELLON_PRERENDER_SOURCES)
