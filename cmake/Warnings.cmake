# The compiler warnings, in one place: every target the project builds (the
# core library, the game, the unit tests, the soak, the header check, the
# benchmarks and the fuzzer) links this interface target PRIVATE, so no target
# spells the flags out itself.
#
# ZELVANE_WARNINGS_AS_ERRORS adds -Werror. It is off by default, so a newer
# compiler's new warning does not stop a player's build; CI turns it on (see
# .ci/run and the presets in CMakePresets.json).
option(ZELVANE_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(zelvane_warnings INTERFACE)
target_compile_options(zelvane_warnings INTERFACE -Wall -Wextra -Wshadow)
if(ZELVANE_WARNINGS_AS_ERRORS)
  target_compile_options(zelvane_warnings INTERFACE -Werror)
endif()
