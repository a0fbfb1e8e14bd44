# Linux: the headless platform and the GoogleTest unit and scenario tests.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB PLATFORM_HEADLESS_SOURCES CONFIGURE_DEPENDS platform/headless/*.cpp)
add_library(platform_headless STATIC ${PLATFORM_HEADLESS_SOURCES})
target_include_directories(platform_headless PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(platform_headless PUBLIC tavolex_resources)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests tavolex_app tavolex_runvane platform_headless GTest::gtest GTest::gtest_main)
gtest_discover_tests(unit_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)

file(GLOB SCENARIO_TEST_SOURCES CONFIGURE_DEPENDS tests/scenario/*.cpp)
add_executable(scenario_tests ${SCENARIO_TEST_SOURCES})
target_link_libraries(scenario_tests tavolex_app tavolex_runvane platform_headless GTest::gtest GTest::gtest_main)
gtest_discover_tests(scenario_tests PROPERTIES LABELS scenario DISCOVERY_TIMEOUT 60)

# The operation-list benchmark: a program, not a test (README, "Speed").
add_executable(tavolex_bench tools/bench/list_bench.cpp tools/bench/sample_job.cpp)
target_compile_definitions(tavolex_bench PRIVATE TAVOLEX_BENCH_HEADLESS)
target_link_libraries(tavolex_bench tavolex_editor platform_headless)

# Calls run one way, down: each folder includes only the folders below it.
add_test(NAME layer_includes
         COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/check-layers.cmake)
set_tests_properties(layer_includes PROPERTIES LABELS unit)

# The pickers' libraries, linked by the tests.
include(cmake/pickers.cmake)
