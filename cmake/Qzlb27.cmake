# Helpers shared by every folder: one target per folder, its sources found by name, its tests in
# one executable beside it.

# qzlb27_sources(<out>): the folder's own sources, without tests and benchmarks.
function(qzlb27_sources out)
  file(GLOB _src CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER _src EXCLUDE REGEX "_(test|bench)\\.cpp$")
  set(${out} ${_src} PARENT_SCOPE)
endfunction()

# qzlb27_tests(<target> [libs...]): every *_test.cpp of the folder in one executable
# <target>_tests, linked to the target and the given libraries, each test registered with CTest.
# Fixtures in the folder's testdata/ are found through QZLB27_TESTDATA. A folder whose tests need
# widgets names Qt6::Test among the libraries and gets the shared Qt application of its tests.
function(qzlb27_tests target)
  if(NOT QZLB27_TESTS)
    return()
  endif()
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT _tests)
    return()
  endif()
  if("Qt6::Test" IN_LIST ARGN)
    list(APPEND _tests ${PROJECT_SOURCE_DIR}/tests/support/QtTestApplication.cpp)
  endif()
  add_executable(${target}_tests ${_tests})
  target_link_libraries(${target}_tests PRIVATE ${target} ${ARGN} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${target}_tests PRIVATE
    QZLB27_TESTDATA="${CMAKE_CURRENT_SOURCE_DIR}/testdata"
    QZLB27_BUILD_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${target}_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # Tests never read the machine's own registry store: a test that needs one writes its own.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QZLB27_BUILD_DIR=${CMAKE_BINARY_DIR};QRN_REGISTRY=${CMAKE_BINARY_DIR}/no-registry.ini"
               TIMEOUT 120)
endfunction()
