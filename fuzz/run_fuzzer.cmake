# Runs one fuzzer for a bounded time on a fresh copy of its seed corpus.
# Crash inputs are written to ${WORK}/artifacts/.
foreach(var FUZZER CORPUS WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzzer.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${FUZZER} ${WORK}/corpus
    -max_total_time=20 -rss_limit_mb=2048 -timeout=10
    -artifact_prefix=${WORK}/artifacts/
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); inputs in ${WORK}/artifacts")
endif()
