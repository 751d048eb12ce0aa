# The Windows program and the UI-automation helper that its end-to-end tests use.
enable_language(RC)

add_executable(Quorvane WIN32
  platform/win32_main.cpp
  platform/win32_platform.cpp
  platform/win32_files.cpp
  platform/win32_dialog.cpp
  platform/win32_hardening.cpp
  platform/win32_run_lock.cpp
  resources/quorvane.rc
)
target_link_libraries(Quorvane PRIVATE quorvane_core shell32 ole32 advapi32 user32)
# Windows 7 and later: final paths and ordinal comparisons are there.
target_compile_definitions(Quorvane PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
  _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_definitions(quorvane_core PRIVATE UNICODE _UNICODE)

if(MINGW)
  # Unicode entry, and a static runtime so that the exe runs alone from its folder.
  target_link_options(Quorvane PRIVATE -municode -static -static-libgcc -static-libstdc++)
  # The image's defences, stated so that they stay whatever the linker's defaults: ASLR (with
  # high entropy when 64-bit), DEP, and no per-user Windows folder faked on a terminal server.
  target_link_options(Quorvane PRIVATE -Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(Quorvane PRIVATE -Wl,--high-entropy-va)
  endif()
endif()

# uiauto takes the program's run lock from the same source, to make a run wait.
add_executable(uiauto tests/e2e/uiauto.cpp platform/win32_run_lock.cpp)
target_include_directories(uiauto PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(uiauto PRIVATE UNICODE _UNICODE)
if(MINGW)
  target_link_options(uiauto PRIVATE -municode -static -static-libgcc -static-libstdc++)
endif()
target_link_libraries(uiauto PRIVATE user32 advapi32)

if(MSVC)
  # The manifest comes from the resources; the linker must not add its own.
  target_link_options(Quorvane PRIVATE /MANIFEST:NO)
  # The same defences as with MinGW (the linker's defaults today).
  target_link_options(Quorvane PRIVATE /DYNAMICBASE /NXCOMPAT /TSAWARE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(Quorvane PRIVATE /HIGHENTROPYVA)
  endif()
  # A static runtime, as with MinGW.
  set_property(TARGET Quorvane uiauto quorvane_core PROPERTY
    MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
include(cmake/Release.cmake)
