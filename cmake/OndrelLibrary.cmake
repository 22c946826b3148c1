# ondrel_library(NAME [OBJECT] SOURCES ... DEPENDS ...)
# One library per subsystem folder. Folders whose classes only register themselves with the
# object factory are OBJECT libraries, so the linker cannot drop their registrations.
function(ondrel_library name)
  cmake_parse_arguments(ARG "OBJECT" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()
