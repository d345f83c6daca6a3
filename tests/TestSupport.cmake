# Shared test harness: main, manual clock, fixtures, fakes and simulated peers. Also
# built without the tests for the fuzz targets and benchmarks that run on its fakes.
find_package(GTest REQUIRED)
file(GLOB_RECURSE qx_test_support_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/support/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/support/*.h)
add_library(qx_test_support STATIC ${qx_test_support_srcs})
target_include_directories(qx_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/support)
target_link_libraries(qx_test_support PUBLIC GTest::gtest GTest::gmock device_protocol pages_contract Qt6::Test
                      Qt6::Widgets Qt6::Network Qt6::WebSockets)
