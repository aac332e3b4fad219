# One place for the warning flags of every target of ours.
add_library(veltrimond_warnings INTERFACE)
target_compile_options(veltrimond_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough
  $<$<BOOL:${VELTRIMOND_WERROR}>:-Werror>)
