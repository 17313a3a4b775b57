# The setup program under Wine (setup_wine_tests.cpp) and the signatures of
# its programs (../signature_test.sh): both setups are built from the tool
# and the print service stand-in of this build, the 64-bit build with NSIS's
# amd64 stub where the tests run 64-bit. Set up once the whole tree has been
# read, since the tool and the stand-in come later.
function(quelta_setup_wine_tests)
  set(_here "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  if(NOT TARGET queltaConfig OR NOT TARGET queltaService)
    quelta_suite_left_out(setup_wine_tests "no queltaConfig or queltaService target")
    return()
  endif()
  find_program(QUELTA_MAKENSIS makensis)
  find_program(QUELTA_OSSLSIGNCODE osslsigncode)
  if(NOT QUELTA_MAKENSIS OR NOT QUELTA_OSSLSIGNCODE)
    quelta_suite_left_out(setup_wine_tests "makensis or osslsigncode is missing (run scripts/setup.sh)")
    return()
  endif()
  if(NOT EXISTS "${QUELTA_SANDBOX_CERTS}/codesign.pem")
    quelta_suite_left_out(setup_wine_tests "no code-signing certificate (run scripts/setup.sh)")
    return()
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(_target amd64-unicode)
  else()
    set(_target x86-unicode)
  endif()
  set(_setups "${CMAKE_BINARY_DIR}/setup-test")
  add_custom_command(
    OUTPUT "${_setups}/old/setup.exe" "${_setups}/new/setup.exe"
    COMMAND bash "${_here}/test_setups.sh" "${_setups}" "${PROJECT_VERSION}" ${_target}
            "$<TARGET_FILE:queltaConfig>" "$<TARGET_FILE:queltaService>" "${QUELTA_SANDBOX_CERTS}"
    DEPENDS queltaConfig queltaService "${_here}/test_setups.sh"
            "${CMAKE_SOURCE_DIR}/release/installer.nsi" "${CMAKE_SOURCE_DIR}/scripts/installer.sh"
            "${CMAKE_SOURCE_DIR}/scripts/sign.sh"
    COMMENT "Building the setup programs of the setup's test"
    VERBATIM)
  add_custom_target(setup_test_programs DEPENDS "${_setups}/old/setup.exe" "${_setups}/new/setup.exe")

  quelta_add_test(setup_wine_tests SOURCES "${_here}/setup_wine_tests.cpp"
    LIBS quelta_service quelta_config ole32 uuid shell32 GUI FRESH_PREFIX)
  target_compile_definitions(setup_wine_tests PRIVATE "QUELTA_SETUPS=\"${_setups}\"")
  add_dependencies(setup_wine_tests setup_test_programs)
  # The print service's port is the computer's: one run at a time with the
  # other tests that install it.
  set_tests_properties(setup_wine_tests PROPERTIES RESOURCE_LOCK quelta_print_service)

  add_test(NAME setup_signatures COMMAND bash "${CMAKE_SOURCE_DIR}/release/tests/signature_test.sh"
    "${QUELTA_SANDBOX_CERTS}/codesign-ca.pem" "${_setups}/new/programs/queltaConfig.exe"
    "${_setups}/new/desinstalar.exe" "${_setups}/new/setup.exe")
endfunction()
