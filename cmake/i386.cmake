# Toolchain for the 32-bit x86 (i386) build: the target platform of the
# suite, since the maker's controller library is 32-bit x86 code that a
# 64-bit process cannot load.
#
# On an x86-64 Debian machine it uses the native GCC with -m32
# (g++-multilib) and the i386 multiarch development packages installed
# beside the native ones (dpkg --add-architecture i386; scripts/setup.sh
# installs them). The programs it builds run on the build machine too, so
# the tests run as they do in the native tree.
#
#   cmake -S . -B build-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/i386.cmake
#
# CMAKE_SYSTEM_NAME stays unset: the build machine runs i386 code itself,
# so this is not a cross build, and programs built here may run during the
# build (the man pages are made by one).
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
foreach(lang C CXX)
  set(CMAKE_${lang}_FLAGS_INIT "-m32")
endforeach()
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-m32")
endforeach()

# Libraries and their CMake and pkg-config files come from the i386
# multiarch directories, never from the native ones.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")

# The PHP module must be compiled against the headers of a 32-bit PHP;
# those of the machine's own PHP describe 64-bit values. Turn it on only
# with PHP_CONFIG naming a 32-bit PHP's php-config.
set(ARRAY_BUILD_PHP OFF CACHE BOOL "Build the PHP module")

