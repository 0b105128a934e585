# The hardening Debian builds its packages with (dpkg-buildflags with hardening=+all on
# Debian 12): a strong stack protector, format-string checks, glibc's checked functions, and
# relocations made read-only and bound at start. The compiler already makes PIE executables.
option(QUORVA_HARDENING "Build with the distribution's hardening flags" ON)
if(QUORVA_HARDENING AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  # The checked functions need optimisation: without it glibc only warns on every file.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
