# The repair script lives in repair/repair_script.sql alone, one statement line per
# line. The repair library's constant and the window's hidden script holder are both
# generated from it, so the two can never differ.
set(UNR_REPAIR_SCRIPT_FILE ${PROJECT_SOURCE_DIR}/repair/repair_script.sql)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${UNR_REPAIR_SCRIPT_FILE})

# Sets `out` to the script's lines joined by "\n", without a line end after the last.
function(unr_read_repair_script out)
  file(READ "${UNR_REPAIR_SCRIPT_FILE}" text)
  string(REPLACE "\r" "" text "${text}")
  string(REGEX REPLACE "\n$" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
