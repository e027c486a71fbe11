# Writes OUTPUT, a C++ source that defines SYMBOL as a std::string_view of INPUT's bytes.
file(READ ${INPUT} _hex HEX)
string(LENGTH "${_hex}" _len)
math(EXPR _size "${_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _bytes "${_hex}")
file(WRITE ${OUTPUT}
"// Generated from ${INPUT}; do not edit.\n"
"#include <string_view>\n"
"namespace { constexpr char kData[] = {${_bytes} '\\\\0'}; }\n"
"extern const std::string_view ${SYMBOL}(kData, ${_size});\n"
"const std::string_view ${SYMBOL}(kData, ${_size});\n")
