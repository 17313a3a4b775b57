# The set-up script's cache outside the work tree (scripts/setup.sh): the
# Windows libraries of each architecture and the sandbox cloud's
# certificates. QUELTA_DEPS_CACHE_ROOT names it.
if(DEFINED ENV{QUELTA_DEPS_CACHE})
  set(QUELTA_DEPS_CACHE_ROOT "$ENV{QUELTA_DEPS_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(QUELTA_DEPS_CACHE_ROOT "$ENV{XDG_CACHE_HOME}/quelta-deps")
else()
  set(QUELTA_DEPS_CACHE_ROOT "$ENV{HOME}/.cache/quelta-deps")
endif()
