# Embeds the program's class icon (resource 107, res/quorvane.ico) in the
# stand-in as a byte array, so the SDL back end can give its window the
# program's icon: a generated sdl_icon_data.cpp defining kProgramIcon and
# kProgramIconSize (declared in sdl_icon.h). Regenerated when the icon changes.

set(icon_file ${PROJECT_SOURCE_DIR}/res/quorvane.ico)
set(icon_source ${CMAKE_CURRENT_BINARY_DIR}/sdl_icon_data.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${icon_file})

file(READ ${icon_file} icon_hex HEX)
string(LENGTH "${icon_hex}" icon_hex_length)
math(EXPR icon_size "${icon_hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," icon_bytes "${icon_hex}")
file(CONFIGURE OUTPUT ${icon_source} CONTENT
"// Generated from res/quorvane.ico by platform/display/sdl_icons.cmake.
#include \"display/sdl_icon.h\"

namespace qv::display {
const unsigned char kProgramIcon[] = {${icon_bytes}};
const std::size_t kProgramIconSize = ${icon_size};
}  // namespace qv::display
")
