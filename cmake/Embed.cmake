# portico_embed(<input> <output> <symbol>): writes a C++ source that defines <symbol> as a
# std::string_view of the input's bytes, byte for byte. Runs at configure time; editing the
# input makes the build configure again.
function(portico_embed input output symbol)
  file(READ ${input} _hex HEX)
  string(LENGTH "${_hex}" _len)
  math(EXPR _size "${_len} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _bytes "${_hex}")
  file(CONFIGURE OUTPUT ${output} CONTENT
"// Generated from ${input}; do not edit.
#include <string_view>
namespace {
constexpr char kData[] = {${_bytes} '\\0'};
}
extern const std::string_view ${symbol};
const std::string_view ${symbol}(kData, ${_size});
" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
endfunction()
