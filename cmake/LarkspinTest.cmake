# larkspin_add_test(<name> SOURCES ... [LIBS ...] [WINDOW] [LABELS ...] [TIMEOUT s] [ENV ...])
#
# One GoogleTest executable registered with CTest as a single test.
# WINDOW runs it under a private Xvfb server (xvfb-run -a), so real-window
# tests need no display of their own. Audio goes to OpenAL Soft's null
# backend unless the test names its own ALSOFT_* environment. Every run goes
# through run_to_end.sh, which fails a program that stops before its last test.
function(larkspin_add_test name)
  cmake_parse_arguments(ARG "WINDOW" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  larkspin_warnings(${name})

  set(command $<TARGET_FILE:${name}>)
  set(labels ${ARG_LABELS})
  if(ARG_WINDOW)
    set(command xvfb-run -a -s "-screen 0 1280x1024x24" ${command})
    list(APPEND labels window)
  endif()
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tests/support/run_to_end.sh ${command})

  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(env ${ARG_ENV})
  if(NOT env MATCHES "ALSOFT_")
    list(APPEND env "ALSOFT_DRIVERS=null")
  endif()
  list(APPEND env "LARKSPIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}" "LARKSPIN_BINARY_DIR=${PROJECT_BINARY_DIR}")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${env}")
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
endfunction()
