# Compiles SOURCE with CASE defined. With REFUSAL empty the case must compile; otherwise it must
# be refused with words matching REFUSAL.
execute_process(COMMAND ${COMPILER} -std=c++20 -fsyntax-only -D${CASE} -I${INCLUDE} ${SOURCE}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(REFUSAL STREQUAL "")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CASE} should compile:\n${out}")
  endif()
elseif(status EQUAL 0)
  message(FATAL_ERROR "${CASE} compiled, but it must be refused")
elseif(NOT out MATCHES "${REFUSAL}")
  message(FATAL_ERROR "${CASE} was refused for another reason than \"${REFUSAL}\":\n${out}")
else()
  message(STATUS "${CASE} refused as expected")
endif()
