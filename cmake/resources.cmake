# Compiles res/korven.rc with windres into korven.res.
if(WIN32)
  set(KORVEN_WINDRES ${CMAKE_RC_COMPILER})
  if(NOT KORVEN_WINDRES)
    find_program(KORVEN_WINDRES NAMES ${TOOLCHAIN_PREFIX}-windres windres REQUIRED)
  endif()
else()
  find_program(KORVEN_WINDRES NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres
               REQUIRED)
endif()

# The version numbers of VERSIONINFO come from the project's VERSION. The manifest names the
# same version; a bump that forgets it stops here.
configure_file(${CMAKE_SOURCE_DIR}/res/korven_version.h.in
               ${CMAKE_BINARY_DIR}/generated/korven_version.h @ONLY)
file(READ ${CMAKE_SOURCE_DIR}/res/korven.manifest KORVEN_MANIFEST)
if(NOT KORVEN_MANIFEST MATCHES "version=\"${PROJECT_VERSION}\\.0\"")
  message(FATAL_ERROR "res/korven.manifest does not name version ${PROJECT_VERSION}.0")
endif()

set(KORVEN_RES ${CMAKE_BINARY_DIR}/generated/korven.res)
file(GLOB KORVEN_RES_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)
add_custom_command(
  OUTPUT ${KORVEN_RES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${KORVEN_WINDRES} --input-format=rc --output-format=res
          -I ${CMAKE_SOURCE_DIR}/res -I ${CMAKE_BINARY_DIR}/generated
          -i ${CMAKE_SOURCE_DIR}/res/korven.rc -o ${KORVEN_RES}
  DEPENDS ${KORVEN_RES_INPUTS} ${KORVEN_GENERATED_MEDIA}
          ${CMAKE_BINARY_DIR}/generated/korven_version.h
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/res
  COMMENT "Compiling resources")
add_custom_target(korven_res DEPENDS ${KORVEN_RES})

if(NOT WIN32)
  set(KORVEN_RES_CPP ${CMAKE_BINARY_DIR}/generated/korven_res_data.cpp)
  add_custom_command(
    OUTPUT ${KORVEN_RES_CPP}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${KORVEN_RES} -DOUTPUT=${KORVEN_RES_CPP}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${KORVEN_RES} ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding compiled resources")
  add_library(korven_res_embedded STATIC ${KORVEN_RES_CPP})
  target_include_directories(korven_res_embedded PUBLIC ${CMAKE_SOURCE_DIR})
endif()
