# Read by CTest as it starts (a test include file): the tests of a GoogleTest program. A process
# of a sanitizer build takes about half a second to start, and a second or more on a busy
# machine, so the program's suites are dealt into a few tests (each running its suites' cases in
# one process) rather than one a suite or a case. A suite that takes long is a test of its own
# (SUITES_COSTS), so that it starts first and runs beside the others; a value-parameterised
# suite counts as one suite for each value. The program is asked for its cases once after each
# build (or change of these settings); the tests it yields are kept in SUITES_CACHE.
# Set by the including file: SUITES_PROGRAM, SUITES_CACHE, SUITES_FILTER (a --gtest_filter for
# the listing), SUITES_ENVIRONMENT, SUITES_BATCHES (how many tests the short suites make),
# SUITES_COSTS (NAME=SECONDS for each long suite: its test's COST) and SUITES_SETTINGS (the
# including file).
if(NOT EXISTS "${SUITES_PROGRAM}")
  # Not built yet: a test that says so fails in place of its suites.
  get_filename_component(_program "${SUITES_PROGRAM}" NAME)
  add_test("${_program}_NOT_BUILT" "${SUITES_PROGRAM}")
  return()
endif()
# The long suites' names and COSTs, apart.
set(_long)
set(_long_costs)
foreach(_entry IN LISTS SUITES_COSTS)
  string(REGEX MATCH "^(.+)=([0-9]+)$" _pair "${_entry}")
  list(APPEND _long "${CMAKE_MATCH_1}")
  list(APPEND _long_costs "${CMAKE_MATCH_2}")
endforeach()
if(NOT EXISTS "${SUITES_CACHE}" OR "${SUITES_PROGRAM}" IS_NEWER_THAN "${SUITES_CACHE}"
   OR "${CMAKE_CURRENT_LIST_FILE}" IS_NEWER_THAN "${SUITES_CACHE}" OR "${SUITES_SETTINGS}" IS_NEWER_THAN "${SUITES_CACHE}")
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
  get_filename_component(_program "${SUITES_PROGRAM}" NAME)
  set(_tests)
  macro(_suites_test name filter)
    string(APPEND _tests "add_test([==[${name}]==] [==[${SUITES_PROGRAM}]==] [==[--gtest_filter=${filter}]==])\n"
           "set_tests_properties([==[${name}]==] PROPERTIES ENVIRONMENT [==[${SUITES_ENVIRONMENT}]==])\n")
  endmacro()
  set(_found)
  set(_short 0)
  foreach(_group IN LISTS _groups)
    string(REPLACE "|" ";" _parts "${_group}")
    list(GET _parts 0 _name)
    list(GET _parts 1 _filter)
    list(FIND _long "${_name}" _at)
    if(_at GREATER -1)
      _suites_test("${_name}" "${_filter}")
      list(APPEND _found "${_name}")
    else()
      # Dealt in turn, so that each batch gets suites from every part of the program.
      math(EXPR _batch "${_short} % ${SUITES_BATCHES} + 1")
      math(EXPR _short "${_short} + 1")
      list(APPEND _batch_${_batch} "${_filter}")
    endif()
  endforeach()
  foreach(_batch RANGE 1 ${SUITES_BATCHES})
    if(NOT _batch_${_batch})
      continue()
    endif()
    string(REPLACE ";" ":" _filter "${_batch_${_batch}}")
    _suites_test("${_program}.Suites${_batch}Of${SUITES_BATCHES}" "${_filter}")
  endforeach()
  # A long suite named that the program no longer has (renamed, gone) fails a test that says so,
  # rather than leaving the list wrong unseen.
  foreach(_name IN LISTS _long)
    list(FIND _found "${_name}" _at)
    if(_at EQUAL -1)
      string(APPEND _tests "add_test([==[${_program}.LongSuiteNotFound.${_name}]==] sh -c [==[echo \"no suite ${_name}: mend the list of long suites in Tests/CMakeLists.txt\"; exit 1]==])\n")
    endif()
  endforeach()
  file(WRITE "${SUITES_CACHE}" "${_tests}")
endif()
include("${SUITES_CACHE}")
foreach(_name _cost IN ZIP_LISTS _long _long_costs)
  set_tests_properties("${_name}" PROPERTIES COST "${_cost}")
endforeach()
