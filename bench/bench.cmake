# The benchmarks (`make bench`, scripts/bench.sh): the bench program and the minimal program it
# measures Quendry against. Not part of `all`: the script builds them.
add_executable(minimal_win WIN32 EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/minimal_win.c
    ${CMAKE_SOURCE_DIR}/bench/minimal.rc)
target_link_options(minimal_win PRIVATE -municode)
target_link_libraries(minimal_win PRIVATE comctl32 gdi32 user32)
set_source_files_properties(${CMAKE_SOURCE_DIR}/bench/minimal.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/res")

file(GLOB bench_win_src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
add_executable(quendry_bench EXCLUDE_FROM_ALL ${bench_win_src}
    ${CMAKE_SOURCE_DIR}/tests/e2e/driver.cpp)
target_compile_definitions(quendry_bench PRIVATE QUENDRY_EXE_NAME="Quendry.exe")
target_link_options(quendry_bench PRIVATE -municode)
target_link_libraries(quendry_bench PRIVATE core_bench fixture_layout ${QUENDRY_WIN}
    ${QUENDRY_CORE} ${QUENDRY_SYSLIBS} psapi version)
add_dependencies(quendry_bench Quendry minimal_win fixtures)
