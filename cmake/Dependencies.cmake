# Where the libraries come from.
#   Linux: Debian's packages (libmariadb-dev, libcli11-dev, libgtest-dev).
#   Windows, cross-built here: MariaDB Connector/C built from Debian's source by
#     scripts/build-connector-windows.sh and linked statically, so the program needs
#     no client library beside it; CLI11's headers and GoogleTest's source from
#     Debian's packages, compiled for Windows.
#   Windows, built there: Connector/C's static library from UNR_CONNECTOR_PREFIX
#     (MariaDB's installer lays it out the same way), CLI11 and GoogleTest from
#     CMAKE_PREFIX_PATH.
# Provides mariadb_client, CLI11::CLI11 and, when testing, GTest::gtest and
# GTest::gtest_main.

add_library(mariadb_client INTERFACE)
if(WIN32)
  set(UNR_CONNECTOR_PREFIX "" CACHE PATH
      "Folder holding MariaDB Connector/C's include/ and lib/ (scripts/build-connector-windows.sh prints it)")
  find_path(UNR_MARIADB_INCLUDE_DIR mysql.h
            PATHS "${UNR_CONNECTOR_PREFIX}" PATH_SUFFIXES include/mariadb include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  find_library(UNR_MARIADB_STATIC_LIBRARY NAMES libmariadbclient.a mariadbclient
               PATHS "${UNR_CONNECTOR_PREFIX}" PATH_SUFFIXES lib/mariadb lib
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT UNR_MARIADB_INCLUDE_DIR OR NOT UNR_MARIADB_STATIC_LIBRARY)
    message(FATAL_ERROR "MariaDB Connector/C's static library was not found in "
                        "UNR_CONNECTOR_PREFIX='${UNR_CONNECTOR_PREFIX}'. Build it with "
                        "scripts/build-connector-windows.sh, or run scripts/build-windows.sh.")
  endif()
  target_include_directories(mariadb_client INTERFACE "${UNR_MARIADB_INCLUDE_DIR}")
  # The Windows libraries Connector/C itself calls.
  target_link_libraries(mariadb_client INTERFACE
    "${UNR_MARIADB_STATIC_LIBRARY}" ws2_32 advapi32 shlwapi crypt32 secur32 bcrypt)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MARIADB REQUIRED IMPORTED_TARGET libmariadb)
  target_link_libraries(mariadb_client INTERFACE PkgConfig::MARIADB)
endif()

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # CLI11 is headers only. They are copied, because adding the build machine's
  # /usr/include to the search path would put its C library before the target's.
  find_path(UNR_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
  if(NOT UNR_CLI11_INCLUDE_DIR)
    message(FATAL_ERROR "CLI11's headers were not found: install Debian's libcli11-dev")
  endif()
  file(COPY "${UNR_CLI11_INCLUDE_DIR}/CLI" DESTINATION "${CMAKE_BINARY_DIR}/cli11")
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE "${CMAKE_BINARY_DIR}/cli11")

  if(BUILD_TESTING)
    set(googletest_source /usr/src/googletest)
    if(NOT EXISTS "${googletest_source}/CMakeLists.txt")
      message(FATAL_ERROR "GoogleTest's source was not found: install Debian's libgtest-dev")
    endif()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # Defines GTest::gtest and GTest::gtest_main, as the installed package does.
    add_subdirectory("${googletest_source}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(CLI11 REQUIRED)
  if(BUILD_TESTING)
    find_package(GTest REQUIRED)
  endif()
endif()
