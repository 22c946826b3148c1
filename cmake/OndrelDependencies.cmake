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
