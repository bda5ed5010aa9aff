# Shared helpers for declaring the suite's libraries, tests, benchmarks and
# fuzz targets, so every folder gets the same warnings and sanitizer flags.

set(VELDRA_WARNINGS -Wall -Wextra)
# GCC warns when a class derives from one in an anonymous namespace of an
# included file, as it would be in a header; a batch of a unity build
# includes every file, so each test fixture would be reported.
if(VELDRA_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND VELDRA_WARNINGS -Wno-subobject-linkage)
endif()

# With fuzz targets, every library is built with the fuzzer's coverage
# instrumentation, so fuzzing reaches into the parsers and not only the harness.
if(VELDRA_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(VELDRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The hardening a distribution builds its packages with: a stack protector on
# every function with a local array or address taken, the checked variants of
# the C library's copying functions where the compiler knows the buffer sizes
# (needs optimisation, which every hardened preset has), relocations made
# read-only after start with every symbol bound at once, and position-
# independent programs (so the loader may place them anywhere). The presets
# the suite is tested and shipped with turn it on, so what is tested is what
# is shipped; the sanitizer build goes without, its own checks being stronger.
if(VELDRA_HARDEN)
  if(VELDRA_SANITIZE)
    message(FATAL_ERROR "VELDRA_HARDEN and VELDRA_SANITIZE do not go together")
  endif()
  add_compile_options(-fstack-protector-strong -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fPIE)
  add_link_options(-pie -Wl,-z,relro,-z,now)
endif()

# Test code is built for a quick build, not for speed: what the tests time
# and exercise is the libraries' code, built with the preset's own flags.
# Most of a test file's cost is the test framework's header and the code its
# assertion macros expand to, so the framework's header is precompiled once
# per binary and the files are optimised only as far as debugging allows, with line tables only.
set(VELDRA_TEST_COMPILE_OPTIONS $<$<CONFIG:RelWithDebInfo,Release>:-Og -g1>)

# veldra_test_target(name HEADERS ...): the test binary's flags and its
# precompiled headers.
function(veldra_test_target name)
  cmake_parse_arguments(ARG "" "" "HEADERS" ${ARGN})
  target_compile_options(${name} PRIVATE ${VELDRA_WARNINGS} ${VELDRA_TEST_COMPILE_OPTIONS})
  if(ARG_HEADERS)
    target_precompile_headers(${name} PRIVATE ${ARG_HEADERS})
  endif()
endfunction()

# veldra_library(name SOURCES ... DEPENDS ...)
# A static library whose public headers live in <folder>/include.
function(veldra_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${VELDRA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
endfunction()

# veldra_simd_sources(target SSE2 files... AVX2 files...)
# Compiles instruction-set specific kernels with their own target flags; the
# choice between them is made at run time, never by the compiler.
function(veldra_simd_sources target)
  cmake_parse_arguments(ARG "" "" "SSE2;AVX2" ${ARGN})
  if(ARG_SSE2)
    target_sources(${target} PRIVATE ${ARG_SSE2})
    set_source_files_properties(${ARG_SSE2} PROPERTIES COMPILE_OPTIONS "-msse2")
  endif()
  if(ARG_AVX2)
    target_sources(${target} PRIVATE ${ARG_AVX2})
    set_source_files_properties(${ARG_AVX2} PROPERTIES COMPILE_OPTIONS "-mavx2")
  endif()
endfunction()

# veldra_test(name SOURCES ... DEPENDS ...)
# One GoogleTest binary, its cases registered with CTest.
function(veldra_test name)
  if(NOT VELDRA_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  veldra_test_target(${name} HEADERS <gtest/gtest.h>)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
  # One label per test binary (its name, or the one given), so presets can
  # leave a whole binary out.
  set(label ${name})
  if(ARG_LABELS)
    set(label ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "VELDRA_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}"
                                  LABELS ${label})
endfunction()

# veldra_bench(name SOURCES ... DEPENDS ...)
function(veldra_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${VELDRA_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
endfunction()

# veldra_fuzz(name SOURCES ... DEPENDS ... CORPUS dir)
# A libFuzzer target plus a short CTest run over its seed corpus, so the
# sanitizer preset exercises every parser of outside bytes.
function(veldra_fuzz name)
  cmake_parse_arguments(ARG "" "CORPUS;RUNS" "SOURCES;DEPENDS" ${ARGN})
  if(NOT ARG_RUNS)
    set(ARG_RUNS 10000)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${VELDRA_WARNINGS} -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  set(work "${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus")
  add_test(NAME ${name}_smoke
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   $<TARGET_FILE:${name}> -runs=${ARG_RUNS} -max_len=65536 -rss_limit_mb=1024
                   -timeout=10 ${work} ${ARG_CORPUS})
  set_tests_properties(${name}_smoke PROPERTIES FIXTURES_REQUIRED ${name}_dir)
  add_test(NAME ${name}_mkdir COMMAND ${CMAKE_COMMAND} -E make_directory ${work})
  set_tests_properties(${name}_mkdir PROPERTIES FIXTURES_SETUP ${name}_dir)
endfunction()
