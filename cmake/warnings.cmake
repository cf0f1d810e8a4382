# Every project target links velmo_warnings; CI turns them into errors.
# -Wnull-dereference stays off: g++ 12 reports it inside libstdc++ itself
# (std::istreambuf_iterator) once sanitizers change the inlining.
add_library(velmo_warnings INTERFACE)
target_compile_options(velmo_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough
  $<$<BOOL:${VELMO_WERROR}>:-Werror>)
