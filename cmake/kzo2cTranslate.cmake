# Build step of kzo2c_add_executable:
#   cmake -DKZO2C=... -DKZO2C_OPTIONS=... -DSOURCE=... -DOUTPUT=... -P kzo2cTranslate.cmake
# kzo2c leaves what it wrote so far when it stops on an error, so it writes
# to a scratch name that only a successful run renames. On an error the
# scratch file and any older OUTPUT go, so that the next build translates
# again instead of taking a stale or partial file as up to date. kzo2c's
# report and its error line go to the build's output.
foreach(var KZO2C SOURCE OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "kzo2cTranslate.cmake needs -D${var}=...")
  endif()
endforeach()
set(part "${OUTPUT}.part")
file(REMOVE "${part}")
execute_process(COMMAND "${KZO2C}" ${KZO2C_OPTIONS} "${SOURCE}" "${part}"
                RESULT_VARIABLE status
                OUTPUT_VARIABLE report
                ERROR_VARIABLE diagnostic)
if(NOT status STREQUAL "0")
  file(REMOVE "${part}" "${OUTPUT}")
  # The report ends without a line feed; the SOURCE:LINE:COLUMN: diagnostic that
  # build tools and editors read must start a line of its own.
  string(REGEX REPLACE "\n$" "" report "${report}")
  string(REGEX REPLACE "\n$" "" diagnostic "${diagnostic}")
  if(report STREQUAL "")
    message("${diagnostic}")
  else()
    message("${report}\n${diagnostic}")
  endif()
  message(FATAL_ERROR "kzo2c could not translate ${SOURCE} (${status})")
endif()
file(RENAME "${part}" "${OUTPUT}")
