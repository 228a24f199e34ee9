# quorbel_library(<folder> <dependencies...>): the static library q_<folder>
# built from every .cpp below src/<folder>; an INTERFACE library while the
# folder holds no source yet.
function(quorbel_library folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp
       ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp
         ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
    add_library(q_${folder} STATIC ${sources})
    target_include_directories(q_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(q_${folder} PUBLIC ${ARGN})
  else()
    add_library(q_${folder} INTERFACE)
    target_include_directories(q_${folder} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(q_${folder} INTERFACE ${ARGN})
  endif()
endfunction()
