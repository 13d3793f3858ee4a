# GoogleTest built from its sources with the project's own compiler, for a
# cross build (Debian's libgtest-dev is for Linux only). The targets get the
# names that find_package(GTest) gives.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(NOT EXISTS ${VORELBOX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources at ${VORELBOX_GTEST_SOURCE} (Debian: googletest)")
endif()
add_subdirectory(${VORELBOX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
