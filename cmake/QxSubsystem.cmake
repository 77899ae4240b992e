# A subsystem folder holds its components (a static library named qx<folder>) and the main window's
# handlers for that subsystem (files named ed_*.cpp, compiled into the main window library in app/).
function(qx_subsystem name)
  cmake_parse_arguments(QX "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/ed_[^/]*\\.cpp$")
  if(sources)
    add_library(qx${name} STATIC ${sources})
    target_link_libraries(qx${name} PUBLIC qxplatform ${QX_DEPENDS})
  else()
    add_library(qx${name} INTERFACE)
    target_link_libraries(qx${name} INTERFACE qxplatform ${QX_DEPENDS})
  endif()
endfunction()
