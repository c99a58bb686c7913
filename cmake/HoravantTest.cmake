# horavant_add_test(<name> SOURCES <files...> [LIBS <targets...>] [GUI] [SERVERS] [TIMEOUT <s>])
#
# One Qt Test executable per class under test. Every test gets its own temporary directory through
# HORAVANT_TEST_TMP (created fresh by the test itself from QTemporaryDir when unset), GUI tests run
# on the offscreen platform, and SERVERS tests read the loopback servers that scripts/test started
# from the HORAVANT_TEST_* variables (they skip when those are missing, unless
# HORAVANT_REQUIRE_SERVERS=1, which scripts/test sets).
function(horavant_add_test name)
  cmake_parse_arguments(T "GUI;SERVERS" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE horavant_options horavant_test_support Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen" "HORAVANT_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
          "HORAVANT_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT})
  if(T_SERVERS)
    set_property(TEST ${name} APPEND PROPERTY LABELS servers)
  endif()
  if(T_GUI)
    set_property(TEST ${name} APPEND PROPERTY LABELS gui)
  endif()
endfunction()
