# Cross build of the Windows programs with MinGW-w64 (posix thread model),
# shared by the toolchain files; QUORVEL_MINGW_TRIPLET names the target.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${QUORVEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${QUORVEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows XP API level; nothing newer may be called.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
# Every program and library keeps its relocations and is marked for address
# space layout randomisation and data execution prevention (a system that
# enforces ASLR refuses an image without relocations).
set(quorvel_pe_flags "-Wl,--dynamicbase -Wl,--nxcompat")
if(QUORVEL_MINGW_TRIPLET MATCHES "^x86_64")
  string(APPEND quorvel_pe_flags " -Wl,--high-entropy-va")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ ${quorvel_pe_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${quorvel_pe_flags}")
# Shipped programs are optimised for size and carry only the code they use,
# without symbols.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG" CACHE STRING "")
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s -Wl,--gc-sections")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s -Wl,--gc-sections")

# Windows test executables run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
