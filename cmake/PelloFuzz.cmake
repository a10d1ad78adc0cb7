# pello_fuzz_target(NAME <name> SOURCE <file> LIBS <libraries...>)
#
# A fuzz target is one source file defining LLVMFuzzerTestOneInput. In every build it
# becomes fuzz_replay_<name>, which feeds each file of fuzz/corpus/<name> to the target
# once and is registered with ctest. With PELLO_FUZZ (clang) it becomes instead the
# libFuzzer program fuzz_<name>, that `make fuzz` runs.
function(pello_fuzz_target)
  cmake_parse_arguments(F "" "NAME;SOURCE" "LIBS" ${ARGN})
  if(PELLO_FUZZ)
    add_executable(fuzz_${F_NAME} ${F_SOURCE})
    target_link_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${F_NAME} PRIVATE ${F_LIBS})
    add_dependencies(fuzz_targets fuzz_${F_NAME})
  else()
    add_executable(fuzz_replay_${F_NAME} ${F_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    target_link_libraries(fuzz_replay_${F_NAME} PRIVATE ${F_LIBS})
    add_test(NAME fuzz_replay_${F_NAME}
             COMMAND fuzz_replay_${F_NAME} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${F_NAME})
  endif()
endfunction()
