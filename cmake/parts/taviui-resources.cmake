# The toolkit library carries its own resources: the scroll-bar images and
# the embedded font, compiled in as byte arrays at build time.
set(TAVIUI_FONT_FILE /usr/share/fonts/truetype/open-sans/OpenSans-Semibold.ttf)
if(NOT EXISTS ${TAVIUI_FONT_FILE})
  message(FATAL_ERROR "TaviUI embeds ${TAVIUI_FONT_FILE}: install the Debian package fonts-open-sans")
endif()
set(TAVIUI_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/toolkit/resources)
set(TAVIUI_RESOURCE_ENTRIES
  "101|PNG|${TAVIUI_RESOURCE_DIR}/scroll_horizontal.png"
  "102|PNG|${TAVIUI_RESOURCE_DIR}/scroll_vertical.png"
  "106|TTF|${TAVIUI_FONT_FILE}")
set(TAVIUI_RESOURCE_SOURCE ${CMAKE_BINARY_DIR}/generated/TaviuiResources.cpp)
set(TAVIUI_RESOURCE_FILES)
foreach(entry IN LISTS TAVIUI_RESOURCE_ENTRIES)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 2 path)
  list(APPEND TAVIUI_RESOURCE_FILES ${path})
endforeach()
# The entry list goes through a file: its separators would not survive
# the shell.
set(TAVIUI_RESOURCE_LIST ${CMAKE_BINARY_DIR}/generated/TaviuiResources.list)
file(CONFIGURE OUTPUT ${TAVIUI_RESOURCE_LIST} CONTENT "${TAVIUI_RESOURCE_ENTRIES}")
add_custom_command(
  OUTPUT ${TAVIUI_RESOURCE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${TAVIUI_RESOURCE_SOURCE} -DLIST_FILE=${TAVIUI_RESOURCE_LIST}
          -P ${TAVIUI_RESOURCE_DIR}/Embed.cmake
  DEPENDS ${TAVIUI_RESOURCE_FILES} ${TAVIUI_RESOURCE_LIST} ${TAVIUI_RESOURCE_DIR}/Embed.cmake
  VERBATIM
  COMMENT "Embedding the TaviUI resources")
target_sources(taviui PRIVATE ${TAVIUI_RESOURCE_SOURCE})
