# Sources include headers by their path from the repository root ("pym/core/DocMap.h"), but no
# target sees the whole tree: each library shows its own folder, through a view directory in the
# build tree that holds one symbolic link to it. A target therefore reaches exactly the headers
# of the libraries it links, and an include against the direction of the dependencies fails to
# compile.

# ondrel_expose_folder(TARGET FOLDER [PRIVATE]): shows FOLDER (relative to the repository root)
# to TARGET and, unless PRIVATE, to whatever links it.
function(ondrel_expose_folder target folder)
  cmake_parse_arguments(ARG "PRIVATE" "" "" ${ARGN})
  string(MAKE_C_IDENTIFIER "${folder}" view_name)
  set(view ${PROJECT_BINARY_DIR}/include-views/${view_name})
  get_filename_component(link_parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${link_parent})
  if(NOT EXISTS ${view}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endif()
  if(ARG_PRIVATE)
    target_include_directories(${target} PRIVATE ${view})
  else()
    target_include_directories(${target} PUBLIC ${view})
  endif()
endfunction()

# ondrel_expose_headers(TARGET HEADERS...): shows exactly these headers (paths relative to the
# current folder) to TARGET and whatever links it: for folders that hold more than one library,
# so that linking one does not show the other's headers.
function(ondrel_expose_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(view ${PROJECT_BINARY_DIR}/include-views/${target})
  file(MAKE_DIRECTORY ${view}/${folder})
  foreach(header ${ARGN})
    if(NOT EXISTS ${view}/${folder}/${header})
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${view}/${folder}/${header} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${view})
endfunction()

# ondrel_library(NAME [OBJECT] [OWN_HEADERS] SOURCES ... [HEADERS ...] [DEPENDS ...]
#                [PRIVATE_DEPENDS ...])
# One library per subsystem folder, showing that folder. With OWN_HEADERS it shows only its own
# headers instead: the header beside each source and those named in HEADERS (a folder holding
# two libraries). DEPENDS are the libraries whose headers its own headers include (PUBLIC);
# PRIVATE_DEPENDS those only its sources use. Folders whose classes only register themselves
# with the object factory are OBJECT libraries, so the linker cannot drop their registrations.
function(ondrel_library name)
  cmake_parse_arguments(ARG "OBJECT;OWN_HEADERS" "" "SOURCES;HEADERS;DEPENDS;PRIVATE_DEPENDS"
                        ${ARGN})
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  if(ARG_OWN_HEADERS)
    set(headers ${ARG_HEADERS})
    foreach(source ${ARG_SOURCES})
      string(REGEX REPLACE "\\.cpp$" ".h" header ${source})
      if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
        list(APPEND headers ${header})
      endif()
    endforeach()
    ondrel_expose_headers(${name} ${headers})
  else()
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    ondrel_expose_folder(${name} ${folder})
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
endfunction()

# ondrel_link(TARGET LIBRARIES...): links TARGET privately with the libraries. The object files
# of an OBJECT library reach only a target that links it directly, so every OBJECT library found
# below the given ones is linked directly as well.
function(ondrel_link target)
  set(pending ${ARGN})
  set(seen "")
  set(objects "")
  while(pending)
    list(POP_FRONT pending library)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
    if(NOT TARGET ${library} OR library IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${library})
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "OBJECT_LIBRARY")
      list(APPEND objects ${library})
    endif()
    get_target_property(below ${library} INTERFACE_LINK_LIBRARIES)
    if(below)
      list(APPEND pending ${below})
    endif()
  endwhile()
  target_link_libraries(${target} PRIVATE ${ARGN} ${objects})
endfunction()
