# The fuzz and ThreadSanitizer builds instrument every program, including
# the build's own generators (skins, fonts, udev rules) that run while the
# tree builds.  Those call fontconfig and pango, which keep caches they never
# free and start an initialisation thread the sanitizer cannot see into, so
# the sanitizers would fail a build step over code that is not ours.  The
# fuzz targets and the tests are checked in full; the one-shot generators run
# with those reports off.
if(KESTREL_FUZZ)
  set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM "${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0")
elseif(KESTREL_TSAN)
  set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM "${CMAKE_COMMAND} -E env TSAN_OPTIONS=report_bugs=0")
endif()
