# The udev rule that lets the user at the seat open the keyboard's vendor
# interfaces, generated from config.xml into the program folder, where
# `make install-udev` takes it from.  While config.xml lists no keyboard
# modes the shipped rule in packaging/udev/ is used as it is.
set(KESTREL_UDEV_RULES ${KESTREL_RUNTIME_DIR}/70-kestrel.rules)
add_custom_command(
  OUTPUT ${KESTREL_UDEV_RULES}
  COMMAND kestrel-udev-rules ${CMAKE_SOURCE_DIR}/data/config.xml ${KESTREL_UDEV_RULES}
          --fallback ${CMAKE_SOURCE_DIR}/packaging/udev/70-kestrel.rules
  DEPENDS kestrel-udev-rules ${CMAKE_SOURCE_DIR}/data/config.xml
          ${CMAKE_SOURCE_DIR}/packaging/udev/70-kestrel.rules
  COMMENT "Writing 70-kestrel.rules from config.xml"
  VERBATIM)
add_custom_target(kestrel-udev-rules-file ALL DEPENDS ${KESTREL_UDEV_RULES})
