# The control-flow protection a processor has: Intel's CET on x86, pointer authentication and
# branch target identification on 64-bit ARM. Other processors have neither, and g++ refuses
# the other's flag, so a source build on a Raspberry Pi must not be given -fcf-protection.
function(kestramo_processor_hardening processor result)
  string(TOLOWER "${processor}" processor)
  if(processor MATCHES "^(x86_64|amd64|x64|i[3-6]86|x86)$")
    set(${result} -fcf-protection PARENT_SCOPE)
  elseif(processor MATCHES "^(aarch64|arm64)$")
    set(${result} -mbranch-protection=standard PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()
