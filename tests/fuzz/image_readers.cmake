# One fuzz target per image reader.
foreach(kind tga bmp jpeg)
    add_fuzz_target(image_${kind}_fuzz
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/image_${kind}.cpp
        LIBRARIES images
        CORPUS corpus/${kind})
endforeach()
