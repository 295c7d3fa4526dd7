# Shared by the main build and the fuzz and bench projects: the portable sources
# and the native string table generated from the resource script.

# Sets <out_var> to every portable source below <root>/src (no Win32 backend, no entry).
function(tivoler_portable_sources root out_var)
  file(GLOB sources CONFIGURE_DEPENDS
    ${root}/src/forms/*.cpp ${root}/src/core/*.cpp ${root}/src/main_form/*.cpp
    ${root}/src/shell/*.cpp ${root}/src/controls/*.cpp)
  list(REMOVE_ITEM sources ${root}/src/shell/main.cpp)
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()

# Sets <out_var> to a .cpp file generated from <root>/resources/strings.rc (its ids
# named in <root>/src/core/resource_ids.h) that holds the texts for the fake OS port
# of the native builds.
function(tivoler_string_table root out_var)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(generated ${CMAKE_BINARY_DIR}/generated/string_table.cpp)
  add_custom_command(OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND Python3::Interpreter ${root}/scripts/gen-strings.py
            ${root}/resources/strings.rc ${root}/src/core/resource_ids.h ${generated}
    DEPENDS ${root}/resources/strings.rc ${root}/src/core/resource_ids.h
            ${root}/scripts/gen-strings.py)
  set(${out_var} ${generated} PARENT_SCOPE)
endfunction()
