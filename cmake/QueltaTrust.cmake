# What a build may trust besides the Windows store: CAs, and the keys whose
# signatures make an update's manifest. Both sandbox secrets (the CA's key,
# the publisher's private key) lie in the set-up's cache on every
# developer's computer: a build that talks to real hosts and still trusts
# either would accept what anyone holding the cache can make. Such a build
# is refused when it is configured.
#
#   quelta_check_trust(<ca-pem-text> <sandbox-certs-dir> <host>...)
#   quelta_check_publisher_keys(<keys-pem-text> <sandbox-certs-dir> <host>...)
#
# Hosts are the build's QUELTA_API_PRODUCTION, QUELTA_API_STAGING and
# QUELTA_DOWNLOAD_HOST; only 127.0.0.1, other loopback addresses and
# localhost count as the sandbox.

# The hosts of the list that are not this computer's.
function(_quelta_real_hosts out)
  set(_real "")
  foreach(_host IN LISTS ARGN)
    if(NOT _host MATCHES "^([a-zA-Z]+://)?(127\\.[0-9]+\\.[0-9]+\\.[0-9]+|localhost|\\[::1\\])(:[0-9]+)?/?$")
      list(APPEND _real "${_host}")
    endif()
  endforeach()
  set(${out} "${_real}" PARENT_SCOPE)
endfunction()

# The first of the sandbox's PEM files `names` whose text `pem` holds, or "".
function(_quelta_sandbox_pem_in out pem sandbox_certs)
  set(${out} "" PARENT_SCOPE)
  foreach(_name IN LISTS ARGN)
    if(EXISTS "${sandbox_certs}/${_name}")
      file(READ "${sandbox_certs}/${_name}" _sandbox_pem)
      string(STRIP "${_sandbox_pem}" _sandbox_pem)
      string(FIND "${pem}" "${_sandbox_pem}" _at)
      if(_sandbox_pem AND NOT _at EQUAL -1)
        set(${out} "${sandbox_certs}/${_name}" PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

function(quelta_check_trust ca_pem sandbox_certs)
  if(ca_pem STREQUAL "")
    return()
  endif()
  _quelta_real_hosts(_real ${ARGN})
  if(NOT _real)
    return()
  endif()
  _quelta_sandbox_pem_in(_found "${ca_pem}" "${sandbox_certs}" ca.pem other-ca.pem)
  if(_found)
    message(FATAL_ERROR "This build talks to ${_real} but trusts the sandbox's CA "
      "(${_found}). Configure it with -DQUELTA_EXTRA_CA_FILE= (empty), or "
      "with the PEM file of the CA the real hosts need; `make release` does so.")
  endif()
endfunction()

# A build for real hosts needs the publisher's own key, and never the
# sandbox's: without a key it would refuse every manifest.
function(quelta_check_publisher_keys keys_pem sandbox_certs)
  # Whatever the hosts: a private key named here would be built into every
  # program shipped (and the verifier would silently pass over it).
  if(keys_pem MATCHES "PRIVATE KEY-----")
    message(FATAL_ERROR "A publisher key file holds a private key, which would be built into "
      "every program: pass its public half only (openssl pkey -in key.pem -pubout -out "
      "public.pem), for QUELTA_PUBLISHER_KEY_FILE and QUELTA_PUBLISHER_NEXT_KEY_FILE alike.")
  endif()
  _quelta_real_hosts(_real ${ARGN})
  if(NOT _real)
    return()
  endif()
  if(NOT keys_pem MATCHES "-----BEGIN PUBLIC KEY-----")
    message(FATAL_ERROR "This build talks to ${_real} but names no publisher key. Configure it "
      "with -DQUELTA_PUBLISHER_KEY_FILE=<public key PEM>; `make release` does so.")
  endif()
  _quelta_sandbox_pem_in(_found "${keys_pem}" "${sandbox_certs}" publisher.pem)
  if(_found)
    message(FATAL_ERROR "This build talks to ${_real} but trusts the sandbox's publisher key "
      "(${_found}). Configure it with -DQUELTA_PUBLISHER_KEY_FILE= and "
      "-DQUELTA_PUBLISHER_NEXT_KEY_FILE= naming the publisher's own public keys; "
      "`make release` does so.")
  endif()
endfunction()
