# Every bench/*.cpp is its own benchmark program; bench/run.sh runs them beside their
# peers. Benchmarks are never registered as tests.
find_package(benchmark REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2_16 REQUIRED IMPORTED_TARGET libpcre2-16)
pkg_check_modules(RE2 IMPORTED_TARGET re2)
find_library(GIF_LIBRARY NAMES gif REQUIRED)
file(GLOB bench_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(src ${bench_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE q_mainwindow benchmark::benchmark
                        PkgConfig::PCRE2_16 ${GIF_LIBRARY})
endforeach()
# RE2 is a peer of the regex benchmark where it is installed.
if(RE2_FOUND)
  target_link_libraries(bench_regex PRIVATE PkgConfig::RE2)
  target_compile_definitions(bench_regex PRIVATE QUORBEL_HAVE_RE2=1)
endif()
