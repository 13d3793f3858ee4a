# `vorelbox-cli info --counts` on every file of a folder, by the Linux build and
# by the Windows build under Wine: the JSON, the exit status and the error
# output must be the same. Run by ctest as
#   cmake -DLINUX_CLI=... -DWINDOWS_CLI=... -DWINE=... -DDATA=... -P compare_cli_info.cmake
# Both run in DATA on the names alone, so no path of either system shows in
# the JSON. The Windows console ends lines with CRLF; the JSON is compared
# with LF line ends.
foreach(var LINUX_CLI WINDOWS_CLI WINE DATA)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compare_cli_info: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS ${LINUX_CLI})
  message(FATAL_ERROR "compare_cli_info: no Linux vorelbox-cli at ${LINUX_CLI} (make build builds it)")
endif()

file(GLOB names RELATIVE ${DATA} ${DATA}/*)
list(SORT names)
set(compared 0)
set(differ "")
foreach(name ${names})
  if(IS_DIRECTORY ${DATA}/${name})
    continue()
  endif()
  execute_process(COMMAND ${LINUX_CLI} info --counts ${name} WORKING_DIRECTORY ${DATA}
                  OUTPUT_VARIABLE linux_out ERROR_VARIABLE linux_err RESULT_VARIABLE linux_code)
  execute_process(COMMAND ${WINE} ${WINDOWS_CLI} info --counts ${name} WORKING_DIRECTORY ${DATA}
                  OUTPUT_VARIABLE windows_out ERROR_VARIABLE windows_err RESULT_VARIABLE windows_code)
  string(REPLACE "\r\n" "\n" windows_out "${windows_out}")
  string(REPLACE "\r\n" "\n" windows_err "${windows_err}")
  if(NOT linux_out STREQUAL windows_out OR NOT linux_code STREQUAL windows_code OR NOT linux_err STREQUAL windows_err)
    string(SUBSTRING "${linux_out}" 0 300 linux_start)
    string(SUBSTRING "${windows_out}" 0 300 windows_start)
    message(SEND_ERROR "${name}: the Windows build differs\n"
                       "  Linux (exit ${linux_code}): ${linux_start} ${linux_err}\n"
                       "  Windows (exit ${windows_code}): ${windows_start} ${windows_err}")
    list(APPEND differ ${name})
  endif()
  string(LENGTH "${linux_out}" bytes)
  if(bytes LESS 20)
    message(SEND_ERROR "${name}: hardly any JSON from the Linux build: ${linux_out}")
  endif()
  math(EXPR compared "${compared} + 1")
endforeach()
if(compared EQUAL 0)
  message(FATAL_ERROR "compare_cli_info: no files in ${DATA}")
endif()
list(LENGTH differ differ_count)
message(STATUS "compare_cli_info: ${compared} files compared, ${differ_count} differ")
