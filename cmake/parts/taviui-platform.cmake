# libtaviui is a shared library and does not link the static kestrel-core,
# yet its windows and fonts cross the UTF-8 boundary: it carries its own copy
# of the (stateless) text conversions.
target_sources(taviui PRIVATE ${CMAKE_SOURCE_DIR}/platform/linux/TextConvert.cpp)
