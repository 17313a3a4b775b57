# Runs the trust check of a build's configuration (cmake/QueltaTrust.cmake)
# as configure would, on real and sandbox hosts with and without the
# sandbox's CA. Run with -DSANDBOX_CERTS=<dir> -P.
set(_module "${CMAKE_CURRENT_LIST_DIR}/../../cmake/QueltaTrust.cmake")
file(READ "${SANDBOX_CERTS}/ca.pem" _sandbox_ca)
set(_failures 0)

function(expect_check outcome ca)
  string(REPLACE ";" "\\;" _hosts "${ARGN}")
  set(_script "${CMAKE_CURRENT_BINARY_DIR}/trust_check_case.cmake")
  file(WRITE "${_script}" "include(\"${_module}\")\nquelta_check_trust([==[${ca}]==] \"${SANDBOX_CERTS}\" ${ARGN})\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -P "${_script}" RESULT_VARIABLE _rc
    OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
  file(REMOVE "${_script}")
  if(outcome STREQUAL "refused" AND (_rc EQUAL 0 OR NOT _out MATCHES "trusts the sandbox's CA"))
    message(SEND_ERROR "not refused: ${ARGN}")
  elseif(outcome STREQUAL "accepted" AND NOT _rc EQUAL 0)
    message(SEND_ERROR "refused: ${ARGN}: ${_out}")
  endif()
endfunction()

expect_check(refused "${_sandbox_ca}"
  https://api.quelta.com.br https://stage.api.quelta.com.br downloads.quelta.com.br)
# One real host is enough to refuse.
expect_check(refused "${_sandbox_ca}" https://127.0.0.1:8443 https://127.0.0.1:8444 downloads.quelta.com.br)
expect_check(accepted "" https://api.quelta.com.br https://stage.api.quelta.com.br downloads.quelta.com.br)
expect_check(accepted "${_sandbox_ca}" https://127.0.0.1:8443 https://localhost:8444 127.0.0.1:8445)
