# Writes INPUT's bytes as the C++ array korven::res::${SYMBOL} (default kCompiledResources),
# with its size in ${SYMBOL}Size, into OUTPUT.
if(NOT SYMBOL)
  set(SYMBOL kCompiledResources)
endif()
get_filename_component(inputName ${INPUT} NAME)
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${inputName}; do not edit.\n#include <cstddef>\n#include <cstdint>\n\nnamespace korven::res {\nextern const std::uint8_t ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\nalignas(4) const std::uint8_t ${SYMBOL}[] = {\n${bytes}\n};\nconst std::size_t ${SYMBOL}Size = ${size};\n}  // namespace korven::res\n")
