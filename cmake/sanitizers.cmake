# Sanitizers apply to the whole build so that libraries and tests agree.
if(VELMO_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMO_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(VELMO_SANITIZE STREQUAL "fuzzer")
  # Coverage for libFuzzer everywhere; only the fuzz targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT VELMO_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VELMO_SANITIZE must be empty, 'address', 'thread' or 'fuzzer'")
endif()
