# pellin_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable; each test case becomes its own CTest test.
# Widget tests run on the offscreen platform so no display is needed.
function(pellin_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE PELLIN_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
                                             PELLIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.multimedia*=false")
endfunction()
