# mqoinfo's printers over whatever the reader makes of any bytes; the
# reader's own corpus seeds it too.
add_fuzz_target(mqoinfo_json_fuzz
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mqoinfo_json.cpp
    LIBRARIES mqoinfo_print
    CORPUS corpus/mqoinfo corpus/mqo)
