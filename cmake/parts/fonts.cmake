# font/SourceHanSansCN-Regular.otf beside the program: the Source Han Sans
# design as Debian's fonts-noto-cjk ships it (Noto Sans CJK SC Regular).
# Debian packs it in a collection, so the one face is copied out of it by
# tools/skin-builder's font extractor; a loose .otf is copied as it is.
set(KESTREL_FONT_FILE ${KESTREL_RUNTIME_DIR}/font/SourceHanSansCN-Regular.otf)
set(noto_dirs /usr/share/fonts/opentype/noto /usr/share/fonts/opentype/noto-cjk
              /usr/share/fonts/noto-cjk /usr/share/fonts/truetype/noto)
find_file(KESTREL_NOTO_SC_OTF NAMES NotoSansCJKsc-Regular.otf NotoSansSC-Regular.otf
          PATHS ${noto_dirs} NO_DEFAULT_PATH)
find_file(KESTREL_NOTO_CJK_TTC NAMES NotoSansCJK-Regular.ttc PATHS ${noto_dirs} NO_DEFAULT_PATH)

if(KESTREL_NOTO_SC_OTF)
  add_custom_command(OUTPUT ${KESTREL_FONT_FILE}
    COMMAND ${CMAKE_COMMAND} -E copy ${KESTREL_NOTO_SC_OTF} ${KESTREL_FONT_FILE}
    DEPENDS ${KESTREL_NOTO_SC_OTF}
    COMMENT "Placing the Source Han Sans font beside the program" VERBATIM)
elseif(KESTREL_NOTO_CJK_TTC)
  add_custom_command(OUTPUT ${KESTREL_FONT_FILE}
    COMMAND kestrel-font-extract ${KESTREL_NOTO_CJK_TTC} NotoSansCJKsc-Regular ${KESTREL_FONT_FILE}
    DEPENDS kestrel-font-extract ${KESTREL_NOTO_CJK_TTC}
    COMMENT "Extracting the Source Han Sans face from the Noto CJK collection" VERBATIM)
else()
  message(WARNING "fonts-noto-cjk is not installed: font/SourceHanSansCN-Regular.otf is not "
                  "placed and Chinese text falls back to the system's fonts")
endif()

if(KESTREL_NOTO_SC_OTF OR KESTREL_NOTO_CJK_TTC)
  add_custom_target(kestrel-font ALL DEPENDS ${KESTREL_FONT_FILE})
  add_dependencies(kestrel kestrel-font)
  if(TARGET test_skins)
    add_dependencies(test_skins kestrel-font)
    target_compile_definitions(test_skins PRIVATE KESTREL_FONT_FILE="${KESTREL_FONT_FILE}")
  endif()
endif()
