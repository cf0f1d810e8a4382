# Every project target links velmo_warnings; CI turns them into errors.
add_library(velmo_warnings INTERFACE)
target_compile_options(velmo_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
  -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${VELMO_WERROR}>:-Werror>)
