# libjpeg-turbo for the target: Debian's source package, fetched into the
# build folder and cross-compiled as a static i686 library with its SIMD code
# (nasm). Gives the imported target lumora::jpeg.
# Included by every module that links it; built once.
include_guard(GLOBAL)
include(ExternalProject)

set(LUMORA_JPEG_ROOT ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(LUMORA_JPEG_PREFIX ${LUMORA_JPEG_ROOT}/install)
find_program(LUMORA_NASM nasm REQUIRED)

ExternalProject_Add(libjpeg_turbo_build
  PREFIX ${LUMORA_JPEG_ROOT}
  SOURCE_DIR ${LUMORA_JPEG_ROOT}/source
  DOWNLOAD_COMMAND ${CMAKE_COMMAND} -DPACKAGE=libjpeg-turbo
                   -DDEST=${LUMORA_JPEG_ROOT}/source
                   -P ${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake
  UPDATE_COMMAND ""
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${LUMORA_JPEG_PREFIX}
    -DCMAKE_ASM_NASM_COMPILER=${LUMORA_NASM}
    -DCMAKE_C_FLAGS=-msse2
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DREQUIRE_SIMD=ON
  BUILD_BYPRODUCTS ${LUMORA_JPEG_PREFIX}/lib/libjpeg.a
  LOG_DOWNLOAD ON
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_INSTALL ON
  LOG_OUTPUT_ON_FAILURE ON
)

file(MAKE_DIRECTORY ${LUMORA_JPEG_PREFIX}/include)
add_library(lumora_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(lumora_jpeg PROPERTIES
  IMPORTED_LOCATION ${LUMORA_JPEG_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${LUMORA_JPEG_PREFIX}/include)
add_dependencies(lumora_jpeg libjpeg_turbo_build)
add_library(lumora::jpeg ALIAS lumora_jpeg)
