# cmake -P: the control-flow flag chosen for each processor, and, where a compiler for that
# processor is at hand, that it accepts the flag.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/processor_hardening.cmake)
set(cases
  "x86_64|-fcf-protection|g++" "AMD64|-fcf-protection|x86_64-w64-mingw32-g++"
  "i686|-fcf-protection|" "aarch64|-mbranch-protection=standard|aarch64-linux-gnu-g++"
  "ARM64|-mbranch-protection=standard|" "armv7l||arm-linux-gnueabihf-g++"
  "riscv64||riscv64-linux-gnu-g++" "ppc64le||")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/empty.cpp "int main() { return 0; }\n")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 processor)
  list(GET case 1 expected)
  list(GET case 2 compiler)
  kestramo_processor_hardening(${processor} chosen)
  if(NOT "${chosen}" STREQUAL "${expected}")
    message(FATAL_ERROR "${processor}: '${chosen}', not '${expected}'")
  endif()
  if(compiler)
    find_program(found_${processor} ${compiler})
  endif()
  if(found_${processor})
    execute_process(COMMAND ${found_${processor}} ${chosen} -c empty.cpp -o empty.o
                    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} RESULT_VARIABLE failed
                    ERROR_VARIABLE said)
    if(failed)
      message(FATAL_ERROR "${compiler} refuses '${chosen}': ${said}")
    endif()
    message(STATUS "${processor}: ${compiler} takes '${chosen}'")
  endif()
endforeach()
