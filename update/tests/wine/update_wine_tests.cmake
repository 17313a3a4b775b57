# The self-update under Wine, end to end: the tool and the print service
# stand-in as built, the native sandbox cloud serving the manifest and the
# archive on the download port the tool was built with. Set up once the
# whole tree has been read, since the tool and the stand-in come later.
function(quelta_update_wine_tests)
  set(_here "${CMAKE_CURRENT_FUNCTION_LIST_DIR}")
  if(NOT TARGET queltaConfig OR NOT TARGET queltaService OR NOT TARGET quelta_app)
    quelta_suite_left_out(update_wine_tests "no queltaConfig or queltaService target")
    return()
  endif()
  # Only a build that downloads from this computer can be tested here.
  if(NOT QUELTA_DOWNLOAD_HOST MATCHES "^127\\.0\\.0\\.1:([0-9]+)$")
    quelta_suite_left_out(update_wine_tests
      "the download host ${QUELTA_DOWNLOAD_HOST} is not the sandbox on 127.0.0.1")
    return()
  endif()
  set(_port "${CMAKE_MATCH_1}")
  set(QUELTA_SANDBOX_CLOUD_EXE "${CMAKE_SOURCE_DIR}/build/native/standins/cloud/sandbox-cloud"
    CACHE FILEPATH "The native sandbox-cloud the Windows login and catalog tests run against")
  set(_sandbox "${CMAKE_BINARY_DIR}/update-sandbox")

  quelta_add_test(update_wine_tests
    SOURCES "${_here}/update_wine_tests.cpp" "${CMAKE_SOURCE_DIR}/tests/support/scripted_window_prompts.cpp"
    LIBS quelta_app quelta_release psapi
    GUI)
  target_compile_definitions(update_wine_tests PRIVATE
    "QUELTA_CONFIG_EXE=\"$<TARGET_FILE:queltaConfig>\""
    "QUELTA_SERVICE_EXE=\"$<TARGET_FILE:queltaService>\""
    "QUELTA_UPDATE_FILES=\"${_sandbox}/files\""
    "QUELTA_SANDBOX_CERTS=\"${QUELTA_SANDBOX_CERTS}\"")
  add_dependencies(update_wine_tests queltaConfig queltaService)

  add_test(NAME update_sandbox_start COMMAND bash "${CMAKE_SOURCE_DIR}/tests/support/sandbox_cloud.sh"
    start "${_sandbox}" "${QUELTA_SANDBOX_CLOUD_EXE}" "${_port}")
  add_test(NAME update_sandbox_stop COMMAND bash "${CMAKE_SOURCE_DIR}/tests/support/sandbox_cloud.sh"
    stop "${_sandbox}")
  set_tests_properties(update_sandbox_start PROPERTIES FIXTURES_SETUP update_sandbox)
  set_tests_properties(update_sandbox_stop PROPERTIES FIXTURES_CLEANUP update_sandbox)
  # The print service's name and port are the computer's: one run at a time
  # with the other tests that install it.
  set_tests_properties(update_wine_tests PROPERTIES
    FIXTURES_REQUIRED "wine;update_sandbox"
    RESOURCE_LOCK quelta_print_service)
endfunction()
