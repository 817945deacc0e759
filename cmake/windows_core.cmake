# The Qt-free core libraries, the Windows program and the core's GoogleTest suites for 32-bit
# Windows: this project's own lists configured again with cmake/mingw-i686.cmake (no Qt, no
# benchmarks) in a build of their own, whose test programs ctest runs under Wine
# (tests/windows/). The 64-bit program comes from the same lists with cmake/mingw-x86_64.cmake
# in scripts/package-windows, which also checks its installer. A build may instead take the
# test programs from another build (the test command's sanitizer build does: the sanitizers
# cannot look into them).
set(KOYOMI_WINDOWS_TESTS_FROM "" CACHE PATH
    "A folder that already holds the cross-built Windows test programs")
set(KOYOMI_WINDOWS_TESTS_DIR "" CACHE INTERNAL "")
# libical's "ical" library for mingw i686, as scripts/setup-windows makes it.
set(KOYOMI_WINDOWS_LIBICAL ${PROJECT_SOURCE_DIR}/build/windows-deps/libical-3.0.16-i686
    CACHE PATH "libical cross-built for 32-bit Windows (lib/libical.a, include/libical/ical.h)")
# The cross-build, for the installer made from it.
set(KOYOMI_WINDOWS_BUILD_DIR "" CACHE INTERNAL "")
if(NOT KOYOMI_BUILD_TESTS)
    return()
endif()
if(KOYOMI_WINDOWS_TESTS_FROM)
    set(KOYOMI_WINDOWS_TESTS_DIR ${KOYOMI_WINDOWS_TESTS_FROM} CACHE INTERNAL "")
elseif(KOYOMI_MINGW_CXX)
    include(ExternalProject)
    cmake_host_system_information(RESULT koyomi_cores QUERY NUMBER_OF_LOGICAL_CORES)
    set(windows_core_dir ${CMAKE_BINARY_DIR}/windows-core)
    ExternalProject_Add(koyomi_windows_core
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${windows_core_dir}
        CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
                   -DCMAKE_BUILD_TYPE=Release
                   # Quicker to build than -O2 and just as good a test of the code;
                   # scripts/package-windows builds what is shipped at -O2.
                   "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
                   -DKOYOMI_WERROR=${KOYOMI_WERROR}
                   -DKOYOMI_BUILD_APP=OFF
                   -DKOYOMI_BUILD_BENCH=OFF
                   -DKOYOMI_BUILD_FUZZ=OFF
                   -DKOYOMI_WINDOWS_LIBICAL=${KOYOMI_WINDOWS_LIBICAL}
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${windows_core_dir} -j ${koyomi_cores}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
    set(KOYOMI_WINDOWS_TESTS_DIR ${windows_core_dir}/tests CACHE INTERNAL "")
    set(KOYOMI_WINDOWS_BUILD_DIR ${windows_core_dir} CACHE INTERNAL "")
elseif(NOT DEFINED CACHE{KOYOMI_WINDOWS_CORE_SAID})
    message(STATUS "No i686-w64-mingw32 cross compiler: the core is not built for Windows and "
                   "its tests do not run under Wine; scripts/setup-wine installs it")
    set(KOYOMI_WINDOWS_CORE_SAID ON CACHE INTERNAL "")
endif()
