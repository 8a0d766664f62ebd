# The skin folder beside the program, drawn by tools/skin-builder on every
# build where the builder or a layout changed.  The builder also writes the
# toolkit's scroll-bar pictures and the desktop icon into the build folder;
# the copies committed in toolkit/resources/ and packaging/icons/ are checked
# against these by the skin tests.
set(KESTREL_SKIN_DIR ${KESTREL_RUNTIME_DIR}/skins/theme1)
set(KESTREL_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/generated/toolkit-resources)
set(KESTREL_GENERATED_APP_ICON ${CMAKE_BINARY_DIR}/generated/kestrel-256.png)
file(GLOB KESTREL_LAYOUT_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/layouts/*.xml)

set(layout_args)
foreach(layout IN LISTS KESTREL_LAYOUT_FILES)
  list(APPEND layout_args --layout ${layout})
endforeach()

set(skins_stamp ${CMAKE_BINARY_DIR}/generated/skins.stamp)
# main_bkg.png stands for the whole folder: deleting the folder redraws it.
add_custom_command(OUTPUT ${skins_stamp} ${KESTREL_SKIN_DIR}/main_bkg.png
  # A fresh folder each time, so a picture dropped from the catalogue does
  # not linger beside the program.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KESTREL_SKIN_DIR}
  COMMAND kestrel-skin-builder --skin ${KESTREL_SKIN_DIR} ${layout_args}
          --resources ${KESTREL_GENERATED_RESOURCES} --app-icon ${KESTREL_GENERATED_APP_ICON}
          --preview ${CMAKE_BINARY_DIR}/generated/skin-preview.png
  COMMAND ${CMAKE_COMMAND} -E touch ${skins_stamp}
  DEPENDS kestrel-skin-builder ${KESTREL_LAYOUT_FILES}
  COMMENT "Drawing the skin pictures"
  VERBATIM)
add_custom_target(kestrel-skins ALL DEPENDS ${skins_stamp})
add_dependencies(kestrel kestrel-skins)
if(TARGET test_skins)
  add_dependencies(test_skins kestrel-skins)
  target_compile_definitions(test_skins PRIVATE
    KESTREL_GENERATED_RESOURCES="${KESTREL_GENERATED_RESOURCES}"
    KESTREL_GENERATED_APP_ICON="${KESTREL_GENERATED_APP_ICON}")
endif()
