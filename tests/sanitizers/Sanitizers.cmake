# The environment of every test in a sanitizer build (the asan preset). One option per line, each
# with its reason; third-party findings are silenced by library, never by a Tivora function.
set(sanitizer_folder ${CMAKE_CURRENT_LIST_DIR})

add_library(tivora_sanitizer_preload SHARED ${sanitizer_folder}/SanitizerPreload.cpp)
# Preloaded into programs that are not instrumented too (the WebEngine helper), so it must not
# pull in the sanitizer runtimes itself.
target_compile_options(tivora_sanitizer_preload PRIVATE -fno-sanitize=all)
target_link_options(tivora_sanitizer_preload PRIVATE -fno-sanitize=all)

set(asan_options
  # Leaks are checked as each test program exits.
  detect_leaks=1
  # The preload below comes before the sanitizer runtime in the library list, on purpose.
  verify_asan_link_order=0
)
set(ubsan_options
  # Undefined behaviour fails the test instead of printing and going on.
  halt_on_error=1
  print_stacktrace=1
)
set(lsan_options
  suppressions=${sanitizer_folder}/lsan.supp
  # Keeps passing tests quiet: the matched suppressions are not listed at every exit.
  print_suppressions=0
)
list(JOIN asan_options ":" asan_joined)
list(JOIN ubsan_options ":" ubsan_joined)
list(JOIN lsan_options ":" lsan_joined)
set(TIVORA_SANITIZER_ENV
  "ASAN_OPTIONS=${asan_joined}"
  "UBSAN_OPTIONS=${ubsan_joined}"
  "LSAN_OPTIONS=${lsan_joined}"
  "LD_PRELOAD=$<TARGET_FILE:tivora_sanitizer_preload>")
