# Icons, bitmaps and wave clips are drawn by tools/generate_media.py at build time into
# generated/media, where res/korven.rc finds them as "media/<file>".
# Sets KORVEN_GENERATED_MEDIA to the generated files.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(KORVEN_MEDIA_DIR ${CMAKE_BINARY_DIR}/generated/media)
set(KORVEN_MEDIA_SCRIPT ${CMAKE_SOURCE_DIR}/tools/generate_media.py)

set(KORVEN_MEDIA_FILES)
foreach(id 130 131 186 203 242)
  list(APPEND KORVEN_MEDIA_FILES icon_${id}.ico)
endforeach()
foreach(id 187 190 191 192 193 194 195 196 197 198 199 200 201 1019 TESTU TESTD TESTX)
  list(APPEND KORVEN_MEDIA_FILES bitmap_${id}.bmp)
endforeach()
foreach(id 177 178 179 180 181 182 209 215)
  list(APPEND KORVEN_MEDIA_FILES wave_${id}.wav)
endforeach()
list(TRANSFORM KORVEN_MEDIA_FILES PREPEND ${KORVEN_MEDIA_DIR}/ OUTPUT_VARIABLE KORVEN_GENERATED_MEDIA)

add_custom_command(
  OUTPUT ${KORVEN_GENERATED_MEDIA}
  COMMAND ${Python3_EXECUTABLE} ${KORVEN_MEDIA_SCRIPT} ${KORVEN_MEDIA_DIR}
  DEPENDS ${KORVEN_MEDIA_SCRIPT} ${CMAKE_SOURCE_DIR}/res/resource.h
  COMMENT "Drawing icons, bitmaps and wave clips")
add_custom_target(korven_media DEPENDS ${KORVEN_GENERATED_MEDIA})

if(KORVEN_TESTS)
  add_test(NAME media_generator
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/test_generate_media.py)
endif()
