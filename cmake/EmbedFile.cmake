# Compiles a file into a target as a byte array: `extern const std::uint8_t
# SYMBOL[]` and `extern const std::size_t SYMBOLSize`. Made at configure time
# (cheap and deterministic); a change of the file re-runs the configure step.
function(nomblet_embed_file target symbol file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} hex HEX)
  file(SIZE ${file} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
  get_filename_component(name ${file} NAME)
  set(out ${CMAKE_BINARY_DIR}/generated/${symbol}.cpp)
  file(CONFIGURE OUTPUT ${out} @ONLY CONTENT
"// Generated from ${name} by cmake/EmbedFile.cmake; do not edit.
#include <cstddef>
#include <cstdint>
extern const std::uint8_t ${symbol}[${size}] = {
${bytes}};
extern const std::size_t ${symbol}Size = ${size};
")
  target_sources(${target} PRIVATE ${out})
endfunction()
