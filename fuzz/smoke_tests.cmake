# A second of every fuzz target from its kept corpus, as part of the test suite. The
# targets need clang's libFuzzer: where clang++ can link a fuzzer, they are built with it
# in a build folder of their own (<build>/fuzz, as `make fuzz` builds them, which costs a
# whole build of the game with clang); elsewhere nothing extra is built and one test says
# it is skipped. REEFMAW_FUZZ_SMOKE=OFF leaves them out.
option(REEFMAW_FUZZ_SMOKE "Build the fuzz targets with clang, where it is installed, and run each briefly" ON)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
set(fuzz_reason "")
find_program(REEFMAW_CLANGXX clang++)
if(NOT REEFMAW_FUZZ_SMOKE)
  set(fuzz_reason "REEFMAW_FUZZ_SMOKE is off")
elseif(NOT REEFMAW_CLANGXX)
  set(fuzz_reason "clang++ is not installed (tools/setup.sh --fuzz installs it)")
else()
  set(probe ${CMAKE_BINARY_DIR}/fuzz_probe)
  file(WRITE ${probe}/probe.cpp
       "extern \"C\" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n")
  execute_process(COMMAND ${REEFMAW_CLANGXX} -fsanitize=fuzzer ${probe}/probe.cpp -o ${probe}/probe
                  RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  if(NOT probe_result EQUAL 0)
    set(fuzz_reason "clang++ cannot link libFuzzer (tools/setup.sh --fuzz installs it)")
  endif()
endif()

if(fuzz_reason)
  add_test(NAME Fuzz.Smoke COMMAND sh -c "echo \"skipped: $0\"; exit 77" "${fuzz_reason}")
  set_tests_properties(Fuzz.Smoke PROPERTIES SKIP_RETURN_CODE 77)
  return()
endif()

set(fuzz_names "")
foreach(src ${fuzz_sources})
  get_filename_component(name ${src} NAME_WE)
  list(APPEND fuzz_names ${name})
endforeach()
include(ExternalProject)
ExternalProject_Add(fuzz_targets
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${REEFMAW_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
             -DREEFMAW_FUZZ=ON -DREEFMAW_TESTS=OFF -DREEFMAW_BENCH=OFF -DREEFMAW_UNITY=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${fuzz_names}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
foreach(name ${fuzz_names})
  # As the README runs a campaign: from the repository's root, the kept corpus named by its
  # relative path and only read; new inputs go to a folder of the test's own, and an input
  # that fails is kept in <build>/fuzz as crash-* (its report above it in the output).
  add_test(NAME Fuzz.${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
           COMMAND sh -c "d=$(mktemp -d) || exit 1; out=$(\"$0\" -max_total_time=1 -timeout=20 -artifact_prefix=\"$2/\" \"$d\" \"$1\" 2>&1); s=$?; printf '%s\\n' \"$out\" | tail -n 30; rm -rf \"$d\"; exit $s"
                   ${CMAKE_BINARY_DIR}/fuzz/fuzz/${name} fuzz/corpus/${name} ${CMAKE_BINARY_DIR}/fuzz)
endforeach()
