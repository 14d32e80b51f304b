# The version header shared by both programs: the project version and a build
# number counted from the git history.
set(VOREL_BUILD_NUMBER 0)
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND count MATCHES "^[0-9]+$")
    set(VOREL_BUILD_NUMBER ${count})
  endif()
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PROJECT_BINARY_DIR}/generated/vorel/Version.h @ONLY)
add_library(vorel_version INTERFACE)
target_include_directories(vorel_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
