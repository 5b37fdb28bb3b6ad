# Fuzz targets: every tests/fuzz/NAME_fuzz.cpp becomes the program NAME_fuzz,
# built with clang's libFuzzer over an instrumented engine. Configure a
# separate build folder with clang (`make fuzz` does it all):
#   cmake -B build-fuzz -DRUZO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14
option(RUZO_FUZZ "Build the libFuzzer targets of tests/fuzz (needs clang)" OFF)

if(RUZO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "RUZO_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  set(RUZO_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer)
  # The libraries are instrumented for coverage; everything linked with them
  # gets the sanitizer runtime. The command line's library holds the
  # start-up settings readers.
  set(RUZO_FUZZ_LIBRARIES ruzo_core)
  if(TARGET ruzo_cli)
    list(APPEND RUZO_FUZZ_LIBRARIES ruzo_cli)
  endif()
  foreach(bibliotheque ${RUZO_FUZZ_LIBRARIES})
    target_compile_options(${bibliotheque} PRIVATE -fsanitize=fuzzer-no-link ${RUZO_FUZZ_SANITIZERS})
    target_link_options(${bibliotheque} INTERFACE -fsanitize=address,undefined)
  endforeach()

  add_custom_target(fuzzers)
  file(GLOB RUZO_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(source ${RUZO_FUZZ_SOURCES})
    get_filename_component(cible ${source} NAME_WE)
    add_executable(${cible} ${source})
    target_include_directories(${cible} PRIVATE tests)
    target_link_libraries(${cible} PRIVATE ${RUZO_FUZZ_LIBRARIES})
    target_compile_options(${cible} PRIVATE -fsanitize=fuzzer ${RUZO_FUZZ_SANITIZERS})
    target_link_options(${cible} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers ${cible})
  endforeach()
endif()
