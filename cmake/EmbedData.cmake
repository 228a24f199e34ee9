# quorbel_embed_data(<target> <folder>): compiles every file below <folder> into <target>
# as byte arrays, generated at build time; engine/EmbeddedData.h finds them by their path
# relative to <folder>'s parent (for example "transliteration/index.txt").
# Run with -P, this file is the generator itself (EMBED_ROOT, EMBED_OUT, EMBED_FILES).
if(CMAKE_SCRIPT_MODE_FILE)
  set(body "// Generated from the files of data/; do not edit.\n#include <cstddef>\n\n")
  string(APPEND body "struct EmbeddedFileEntry {\n    const char* name;\n    const unsigned char* data;\n    std::size_t size;\n};\n\n")
  set(entries "")
  set(index 0)
  string(REPLACE "|" ";" files "${EMBED_FILES}")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH rel "${EMBED_ROOT}" "${file}")
    file(READ "${file}" hex HEX)
    file(SIZE "${file}" size)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "static const unsigned char kFile${index}[] = {${bytes}0x00};\n")
    string(APPEND entries "    {\"${rel}\", kFile${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND body "\nextern const EmbeddedFileEntry kEmbeddedFiles[] = {\n${entries}    {nullptr, nullptr, 0},\n};\n")
  file(WRITE "${EMBED_OUT}" "${body}")
  return()
endif()

function(quorbel_embed_data target folder)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${folder}/*)
  list(SORT files)
  get_filename_component(root ${folder} DIRECTORY)
  get_filename_component(name ${folder} NAME)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated/embedded_${name}.cpp)
  string(REPLACE ";" "|" joined "${files}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DEMBED_ROOT=${root} -DEMBED_OUT=${out} "-DEMBED_FILES=${joined}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedData.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/EmbedData.cmake
    COMMENT "Embedding ${name} data files"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
