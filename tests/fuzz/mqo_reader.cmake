add_fuzz_target(mqo_reader_fuzz SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mqo_reader.cpp LIBRARIES mqo CORPUS corpus/mqo)
