# Which CAs a build may trust besides the Windows store. The sandbox's CA
# key lies in the set-up's cache on every developer's computer: a build
# that talks to real hosts and still trusts that CA would accept a
# certificate anyone holding the cache can make. Such a build is refused.
#
#   quelta_check_trust(<ca-pem-text> <sandbox-certs-dir> <host>...)
#
# Hosts are the build's QUELTA_API_PRODUCTION, QUELTA_API_STAGING and
# QUELTA_DOWNLOAD_HOST; only 127.0.0.1, other loopback addresses and
# localhost count as the sandbox.
function(quelta_check_trust ca_pem sandbox_certs)
  if(ca_pem STREQUAL "")
    return()
  endif()
  set(_real "")
  foreach(_host IN LISTS ARGN)
    if(NOT _host MATCHES "^([a-zA-Z]+://)?(127\\.[0-9]+\\.[0-9]+\\.[0-9]+|localhost|\\[::1\\])(:[0-9]+)?/?$")
      list(APPEND _real "${_host}")
    endif()
  endforeach()
  if(NOT _real)
    return()
  endif()
  foreach(_name ca.pem other-ca.pem)
    if(EXISTS "${sandbox_certs}/${_name}")
      file(READ "${sandbox_certs}/${_name}" _sandbox_pem)
      string(STRIP "${_sandbox_pem}" _sandbox_pem)
      string(FIND "${ca_pem}" "${_sandbox_pem}" _at)
      if(_sandbox_pem AND NOT _at EQUAL -1)
        message(FATAL_ERROR "This build talks to ${_real} but trusts the sandbox's CA "
          "(${sandbox_certs}/${_name}). Configure it with -DQUELTA_EXTRA_CA_FILE= (empty), or "
          "with the PEM file of the CA the real hosts need; `make release` does so.")
      endif()
    endif()
  endforeach()
endfunction()
