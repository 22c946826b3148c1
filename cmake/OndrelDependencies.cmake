# Every third-party library comes from Debian's packages (scripts/install-deps).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

find_path(TINYXML_INCLUDE_DIR tinyxml.h REQUIRED)
find_library(TINYXML_LIBRARY tinyxml REQUIRED)
add_library(Ondrel::TinyXml INTERFACE IMPORTED)
target_include_directories(Ondrel::TinyXml INTERFACE ${TINYXML_INCLUDE_DIR})
target_link_libraries(Ondrel::TinyXml INTERFACE ${TINYXML_LIBRARY})
target_compile_definitions(Ondrel::TinyXml INTERFACE TIXML_USE_STL)

find_path(BOOST_INCLUDE_DIR boost/format.hpp REQUIRED)
add_library(Ondrel::Boost INTERFACE IMPORTED)
target_include_directories(Ondrel::Boost INTERFACE ${BOOST_INCLUDE_DIR})

pkg_check_modules(Cairo REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PangoCairo REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(Rsvg REQUIRED IMPORTED_TARGET librsvg-2.0)
pkg_check_modules(Stb REQUIRED IMPORTED_TARGET stb)
pkg_check_modules(Curl REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(Sdl2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(X11Shape REQUIRED IMPORTED_TARGET x11 xext)
