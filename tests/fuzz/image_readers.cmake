# One fuzz target per image reader. The readers' sources are compiled into
# each target rather than linked from the `images` library, so that the
# fuzzer's coverage instrumentation reaches the code it explores.
get_target_property(image_source_dir images SOURCE_DIR)
get_target_property(image_sources images SOURCES)
list(TRANSFORM image_sources PREPEND ${image_source_dir}/)

foreach(kind tga bmp jpeg)
    add_fuzz_target(image_${kind}_fuzz
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/image_${kind}.cpp ${image_sources}
        LIBRARIES JPEG::JPEG
        CORPUS corpus/${kind})
endforeach()
