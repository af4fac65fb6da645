# Read by CTest as it starts (a test include file): one test for each suite of a GoogleTest
# program, which runs the suite's cases in one process. A process of a sanitizer build takes
# about a second to start, so one a case would spend more time starting than testing. The cases
# of a value-parameterised suite make one test for each value, so that a long suite dealt over
# its values runs side by side. The program is asked for its cases once after each build; the
# tests it yields are kept in SUITES_CACHE.
# Set by the including file: SUITES_PROGRAM, SUITES_CACHE, SUITES_FILTER (a --gtest_filter for
# the listing), SUITES_ENVIRONMENT, SUITES_COSTS (NAME=SECONDS: a test's COST, where it is long).
if(NOT EXISTS "${SUITES_PROGRAM}")
  # Not built yet: a test that says so fails in place of its suites.
  get_filename_component(_program "${SUITES_PROGRAM}" NAME)
  add_test("${_program}_NOT_BUILT" "${SUITES_PROGRAM}")
  return()
endif()
if(NOT EXISTS "${SUITES_CACHE}" OR "${SUITES_PROGRAM}" IS_NEWER_THAN "${SUITES_CACHE}")
  execute_process(COMMAND "${SUITES_PROGRAM}" --gtest_list_tests "--gtest_filter=${SUITES_FILTER}"
                  OUTPUT_VARIABLE _listing RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "${SUITES_PROGRAM} could not list its tests (${_result}):\n${_listing}")
  endif()
  string(REPLACE ";" "\\;" _listing "${_listing}")
  string(REPLACE "\n" ";" _lines "${_listing}")
  set(_groups)
  set(_suite)
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE " +#.*" "" _line "${_line}") # the parameter's value, as a comment
    if(_line MATCHES "^([^ ].*)\\.$")
      set(_suite "${CMAKE_MATCH_1}")
    elseif(_line MATCHES "^  [^/]+/(.+)$")
      list(APPEND _groups "${_suite}/${CMAKE_MATCH_1}|${_suite}.*/${CMAKE_MATCH_1}")
    elseif(_line MATCHES "^  ")
      list(APPEND _groups "${_suite}|${_suite}.*")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES _groups)
  set(_tests)
  foreach(_group IN LISTS _groups)
    string(REPLACE "|" ";" _parts "${_group}")
    list(GET _parts 0 _name)
    list(GET _parts 1 _filter)
    string(APPEND _tests "add_test([==[${_name}]==] [==[${SUITES_PROGRAM}]==] [==[--gtest_filter=${_filter}]==])\n"
           "set_tests_properties([==[${_name}]==] PROPERTIES ENVIRONMENT [==[${SUITES_ENVIRONMENT}]==])\n")
  endforeach()
  file(WRITE "${SUITES_CACHE}" "${_tests}")
endif()
include("${SUITES_CACHE}")
foreach(_cost IN LISTS SUITES_COSTS)
  string(REGEX MATCH "^(.+)=([0-9]+)$" _pair "${_cost}")
  set_tests_properties("${CMAKE_MATCH_1}" PROPERTIES COST "${CMAKE_MATCH_2}")
endforeach()
