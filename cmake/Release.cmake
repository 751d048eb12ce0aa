# A reproducible Quorvane.exe: two builds of one commit, in any two folders,
# give the same bytes.
#
# The PE time stamp is SOURCE_DATE_EPOCH from the environment when set, else
# the date of the commit checked out; the configuration is redone after every
# commit so that the stamp follows it. No build or source path goes into the
# binary.

set(QUORVANE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(QUORVANE_SOURCE_DATE_EPOCH STREQUAL "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE QUORVANE_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_dir
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(EXISTS "${git_dir}/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${git_dir}/logs/HEAD")
    endif()
  endif()
endif()

if(MINGW)
  foreach(dir ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    target_compile_options(Quorvane PRIVATE "-ffile-prefix-map=${dir}=.")
    target_compile_options(quorvane_core PRIVATE "-ffile-prefix-map=${dir}=.")
  endforeach()
  if(QUORVANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # GNU ld writes SOURCE_DATE_EPOCH as the time stamp when it inserts one.
    target_link_options(Quorvane PRIVATE -Wl,--insert-timestamp)
    set_property(TARGET Quorvane PROPERTY RULE_LAUNCH_LINK
      "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QUORVANE_SOURCE_DATE_EPOCH}")
  else()
    target_link_options(Quorvane PRIVATE -Wl,--no-insert-timestamp)
  endif()
elseif(MSVC)
  # A time stamp derived from the content (not checked here: no MSVC on Linux).
  target_compile_options(Quorvane PRIVATE /Brepro)
  target_link_options(Quorvane PRIVATE /Brepro)
endif()

# The release package: the program, the installer guide and the empty payload
# layout that an installer fills, as a ZIP with its SHA-256 beside it. The
# version is the one in the program's version block.
file(STRINGS resources/quorvane.rc file_version REGEX "^ *FILEVERSION ")
string(REGEX REPLACE "[^0-9]*([0-9]+),([0-9]+),([0-9]+),([0-9]+).*" "\\1.\\2.\\3.\\4"
  file_version "${file_version}")
install(TARGETS Quorvane RUNTIME DESTINATION .)
install(FILES docs/installer-guide.md DESTINATION docs)
install(DIRECTORY DESTINATION "plugins/IntelliJ IDEA")
install(DIRECTORY DESTINATION plugins/Eclipse)
install(DIRECTORY DESTINATION add-ons)
math(EXPR bits "8 * ${CMAKE_SIZEOF_VOID_P}")
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "Quorvane-${file_version}-win${bits}")
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
