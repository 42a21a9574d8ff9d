# Build rules shared by every plug-in folder.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(PLUGINS_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/${PLUGINS_FLAVOR})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)
if(WIN32)
  # Only system DLLs at run time: the C++ runtime, libgcc and winpthread are linked in.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
elseif(PLUGINS_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=address,undefined)
else()
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# A platform-free core: a static library built in every flavor.
function(plugin_core name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${arg_INCLUDES})
  target_link_libraries(${name} PUBLIC contract_core ${arg_LIBS})
endfunction()

# A plug-in DLL (Windows flavors): exports named by its .def file, copied into dist/<flavor>.
function(plugin_dll name)
  cmake_parse_arguments(arg "" "DEF" "SOURCES;LIBS" ${ARGN})
  if(PLUGINS_FLAVOR STREQUAL "native")
    return()
  endif()
  add_library(${name} SHARED ${arg_SOURCES} ${arg_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_libraries(${name} PRIVATE contract_win ${arg_LIBS})
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PLUGINS_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${name}> ${PLUGINS_DIST_DIR}/)
endfunction()

# A GoogleTest suite of a core, run natively under the sanitizers.
function(native_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT PLUGINS_FLAVOR STREQUAL "native" OR PLUGINS_FUZZ)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# A GoogleTest suite that runs under Wine against the real DLLs (one CTest test per executable:
# each Wine process start costs time).
function(wine_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(NOT PLUGINS_FLAVOR STREQUAL "win64")
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE test_harness ${arg_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# A libFuzzer target (native build with clang, PLUGINS_FUZZ=ON).
function(fuzz_target name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT PLUGINS_FUZZ)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
endfunction()

# A benchmark executable (win64, run under Wine by `make bench`: every bench_*.exe in bin/).
function(wine_bench name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(NOT PLUGINS_FLAVOR STREQUAL "win64")
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE test_harness bench_support ${arg_LIBS})
  if(arg_DEPENDS)
    add_dependencies(${name} ${arg_DEPENDS})
  endif()
endfunction()
