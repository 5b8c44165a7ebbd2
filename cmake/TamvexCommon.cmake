# Settings shared by the program's build and the fuzz project: language,
# libraries, the encoding rules, and the installation folder.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets WebEngineWidgets PrintSupport Test Network)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBMDB REQUIRED IMPORTED_TARGET libmdb glib-2.0)
find_program(TAMVEX_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT TAMVEX_PYTHON)
  find_program(TAMVEX_PYTHON NAMES python3 REQUIRED)
endif()

# Every conversion between bytes and text must name its encoding.
add_compile_definitions(
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS)
add_compile_options(-Wall -Wextra)

set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# The installation folder: executables and the sample collection side by side.
set(TAMVEX_INSTALL_DIR ${CMAKE_BINARY_DIR}/tamvex)
file(MAKE_DIRECTORY ${TAMVEX_INSTALL_DIR})

# Puts an executable into the installation folder.
function(tamvex_install_executable target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAMVEX_INSTALL_DIR})
endfunction()
