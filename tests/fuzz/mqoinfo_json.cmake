# mqoinfo's printers over whatever the reader makes of any bytes. Their
# sources are compiled into the target so that coverage reaches them; the
# reader's own corpus seeds it too.
get_target_property(mqoinfo_source_dir mqoinfo_print SOURCE_DIR)
get_target_property(mqoinfo_sources mqoinfo_print SOURCES)
list(TRANSFORM mqoinfo_sources PREPEND ${mqoinfo_source_dir}/)

add_fuzz_target(mqoinfo_json_fuzz
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mqoinfo_json.cpp ${mqoinfo_sources}
    LIBRARIES mqo
    CORPUS corpus/mqoinfo corpus/mqo)
