# The Windows build: Win32 adapters, the resources, Quendry.exe, fixtures and the tests that run
# under Wine. Included from the top-level list when cross-compiling with MinGW.

set(QUENDRY_SYSLIBS comctl32 gdi32 user32 shell32 ole32 oleaut32 oleacc advapi32 uuid)
# The two programs import only what start-up needs; the shell, COM and version libraries are
# loaded when first used (repair/system_library_win.h). Without their import libraries, a direct
# call of one of their functions fails to link instead of adding an import.
set(QUENDRY_PRODUCT_SYSLIBS comctl32 gdi32 user32 advapi32 uuid)
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

# Adapters: one library per folder, every *_win.cpp but the programs' entry points. The console
# companion's come first: they build on the others.
set(QUENDRY_WIN)
foreach(area cli bitness app repair registry tooltips text)
    file(GLOB src CONFIGURE_DEPENDS ${area}/*_win.cpp)
    list(FILTER src EXCLUDE REGEX "(main|terminate_handler)_win\\.cpp$")
    if(src)
        # Named apart from the Wine test program win_<area> of the same folder.
        add_library(adapters_${area} STATIC ${src})
        list(APPEND QUENDRY_WIN adapters_${area})
    endif()
endforeach()
# The wizard's window on databases reads program files through the bitness adapters, which ask
# the wizard's system adapter for the system folder: the linker sees the two libraries as a cycle.
target_link_libraries(adapters_app PUBLIC adapters_bitness)
target_link_libraries(adapters_bitness PUBLIC adapters_app)

# Quendry.exe: GUI subsystem, resources with manifest, version and pictures.
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/res_version.h)
# The terminate handler is linked in as an object of its own, before the C++ library's.
add_executable(Quendry WIN32 app/main_win.cpp app/terminate_handler_win.cpp res/quendry.rc)
target_include_directories(Quendry PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_target_properties(Quendry PROPERTIES OUTPUT_NAME Quendry)
target_link_options(Quendry PRIVATE -municode)
target_link_libraries(Quendry PRIVATE ${QUENDRY_WIN} ${QUENDRY_CORE} ${QUENDRY_PRODUCT_SYSLIBS})
set_source_files_properties(res/quendry.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/res;${CMAKE_BINARY_DIR}/generated")

# The message table of quendry-cli's events (--event-log), English and German: windmc makes the
# binary tables and the .rc that names them, which res/quendry-cli.rc includes. The .mc is UTF-8;
# the tables are UTF-16, as FormatMessageW and Event Viewer read them.
set(QUENDRY_MESSAGES_OUT
    ${CMAKE_BINARY_DIR}/generated/quendry-messages.rc
    ${CMAKE_BINARY_DIR}/generated/quendry-messages_MSG00409.bin
    ${CMAKE_BINARY_DIR}/generated/quendry-messages_MSG00407.bin)
add_custom_command(OUTPUT ${QUENDRY_MESSAGES_OUT}
    COMMAND ${QUENDRY_MINGW_TRIPLE}-windmc -C 65001 -U -r ${CMAKE_BINARY_DIR}/generated
        -h ${CMAKE_BINARY_DIR}/generated -b ${CMAKE_SOURCE_DIR}/res/quendry-messages.mc
    DEPENDS ${CMAKE_SOURCE_DIR}/res/quendry-messages.mc VERBATIM)

# quendry-cli.exe: the console companion. Console subsystem, its own manifest (asInvoker),
# version and its events' message table.
add_executable(quendry-cli cli/cli_main_win.cpp res/quendry-cli.rc)
target_include_directories(quendry-cli PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_options(quendry-cli PRIVATE -municode)
target_link_libraries(quendry-cli PRIVATE ${QUENDRY_WIN} ${QUENDRY_CORE} ${QUENDRY_PRODUCT_SYSLIBS})
# Each program carries the digest of its own file (repair/image_seal.h), written after linking.
foreach(program Quendry quendry-cli)
    add_custom_command(TARGET ${program} POST_BUILD
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/seal-image.sh $<TARGET_FILE:${program}> VERBATIM)
endforeach()
set_source_files_properties(res/quendry-cli.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/res;${CMAKE_BINARY_DIR}/generated"
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/quendry-cli.manifest;${CMAKE_SOURCE_DIR}/res/app.ico;${QUENDRY_MESSAGES_OUT}")

# Fixtures and helper programs for the tests.
if(EXISTS ${CMAKE_SOURCE_DIR}/fixtures/fixtures.cmake)
    include(${CMAKE_SOURCE_DIR}/fixtures/fixtures.cmake)
endif()

# Benchmarks against minimal baselines (make bench).
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/bench.cmake)
    include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
endif()

# Win32 tests against the real platform: one executable per folder of tests/win, one Wine start each.
file(GLOB win_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*)
foreach(dir IN LISTS win_dirs)
    if(IS_DIRECTORY ${dir})
        get_filename_component(name ${dir} NAME)
        file(GLOB tsrc CONFIGURE_DEPENDS ${dir}/*.cpp)
        if(tsrc)
            add_executable(win_${name} ${tsrc})
            target_link_libraries(win_${name} PRIVATE ${QUENDRY_WIN} ${QUENDRY_CORE} ${QUENDRY_GTEST} ${QUENDRY_SYSLIBS})
            add_test(NAME win_${name} COMMAND ${WINE_RUN} $<TARGET_FILE:win_${name}>)
            if(TARGET fixtures)
                add_dependencies(win_${name} fixtures)
            endif()
            if(TARGET fixture_layout)
                target_link_libraries(win_${name} PRIVATE fixture_layout)
            endif()
        endif()
    endif()
endforeach()

# The registration host tests start Quendry.exe as the host; the window tests read the imports of
# both programs and hold them to the list of what Windows 2000 has; the console's tests read its
# message table.
foreach(test win_repair win_app win_cli)
    if(TARGET ${test})
        add_dependencies(${test} Quendry quendry-cli)
    endif()
endforeach()
configure_file(cmake/windows2000-imports.txt windows2000-imports.txt COPYONLY)
if(TARGET win_app)
    target_link_libraries(win_app PRIVATE core_bench)
endif()

# End-to-end tests: a Win32 driver that starts the real Quendry.exe and works it as a user would.
file(GLOB e2e_src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(e2e_src)
    add_executable(e2e_tests ${e2e_src})
    target_link_libraries(e2e_tests PRIVATE ${QUENDRY_CORE} ${QUENDRY_GTEST} ${QUENDRY_SYSLIBS})
    target_compile_definitions(e2e_tests PRIVATE QUENDRY_EXE_NAME="Quendry.exe")
    add_dependencies(e2e_tests Quendry quendry-cli)
    if(TARGET fixtures)
        add_dependencies(e2e_tests fixtures)
    endif()
    if(TARGET fixture_layout)
        target_link_libraries(e2e_tests PRIVATE fixture_layout)
    endif()
    # Stands in for the browser: the web page tests register it as the shell's handler for http
    # and https.
    add_executable(url_recorder WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/recorder/url_recorder.c)
    target_link_options(url_recorder PRIVATE -municode)
    target_link_libraries(url_recorder PRIVATE shell32)
    add_dependencies(e2e_tests url_recorder)
    # Wine takes the user's language from the locale the test starts in, so the tests whose texts
    # depend on it run again in each language; everything else runs once, in English.
    # 32-bit Windows, in a prefix of its own: only a 32-bit program runs there.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        add_test(NAME e2e_win32_prefix COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/win32_prefix_test.sh
            $<TARGET_FILE:quendry-cli>)
        set_tests_properties(e2e_win32_prefix PROPERTIES TIMEOUT 300)
    endif()
    add_test(NAME e2e_en_US COMMAND ${WINE_RUN} $<TARGET_FILE:e2e_tests>)
    set_tests_properties(e2e_en_US PROPERTIES TIMEOUT 1500
        ENVIRONMENT "LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8")
    # Every report the English run asked for as JSON is kept in report-json/ and, after the run,
    # held to the published schema (Debian's python3-jsonschema).
    add_test(NAME e2e_report_json_clear
        COMMAND ${CMAKE_COMMAND} -E rm -rf $<TARGET_FILE_DIR:e2e_tests>/report-json)
    add_test(NAME e2e_report_json_schema
        COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/check-report-json.py
            ${CMAKE_SOURCE_DIR}/docs/report.schema.json $<TARGET_FILE_DIR:e2e_tests>/report-json)
    set_tests_properties(e2e_report_json_clear PROPERTIES FIXTURES_SETUP report_json)
    set_tests_properties(e2e_report_json_schema PROPERTIES FIXTURES_CLEANUP report_json)
    set_tests_properties(e2e_en_US PROPERTIES FIXTURES_REQUIRED report_json)
    foreach(locale fr_FR de_DE de_AT)
        add_test(NAME e2e_${locale} COMMAND ${WINE_RUN} $<TARGET_FILE:e2e_tests>
            --gtest_filter=*Language*)
        set_tests_properties(e2e_${locale} PROPERTIES TIMEOUT 600
            ENVIRONMENT "LANG=${locale}.UTF-8;LC_ALL=${locale}.UTF-8")
    endforeach()
endif()
