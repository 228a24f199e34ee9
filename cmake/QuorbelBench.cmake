# Every bench/*.cpp is its own Google Benchmark program; bench/run.sh runs
# them beside their peers. Benchmarks are never registered as tests.
find_package(benchmark REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2_16 REQUIRED IMPORTED_TARGET libpcre2-16)
find_library(GIF_LIBRARY NAMES gif REQUIRED)
file(GLOB bench_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(src ${bench_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE q_mainwindow benchmark::benchmark
                        PkgConfig::PCRE2_16 ${GIF_LIBRARY})
endforeach()
