# Build step of the release's setup.exe (cmake -P): copies the staged
# payload into a folder of its own and signs the programs in it (.EXE, .OCX,
# .DLL) with scripts/sign-pe, before the resource script embeds them. Done
# again only when a staged file or the certificate changed, so that the
# resources are compiled again exactly then.
#   -DSTAGE=<folder>   the payload as payload.cmake staged it
#   -DSIGNED=<folder>  the signed copy
#   -DSTAMP=<file>
#   -DSIGN=<scripts/sign-pe>
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND "${SIGN}" --configured RESULT_VARIABLE none)
if(none)
  message(FATAL_ERROR "The signed setup.exe needs a certificate: set QUORVEL_SIGN_PKCS12, or "
    "QUORVEL_SIGN_CERT and QUORVEL_SIGN_KEY (see scripts/sign-pe)")
endif()

file(GLOB staged "${STAGE}/*")
list(SORT staged)
set(state "")
foreach(name PKCS12 CERT KEY)
  if(DEFINED ENV{QUORVEL_SIGN_${name}} AND EXISTS "$ENV{QUORVEL_SIGN_${name}}")
    file(MD5 "$ENV{QUORVEL_SIGN_${name}}" digest)
    string(APPEND state "${digest} ${name}\n")
  endif()
endforeach()
string(APPEND state "timestamp $ENV{QUORVEL_SIGN_TIMESTAMP}\n")
foreach(path IN LISTS staged)
  file(MD5 "${path}" digest)
  string(APPEND state "${digest} ${path}\n")
endforeach()
set(state_old "")
if(EXISTS "${STAMP}")
  file(READ "${STAMP}" state_old)
endif()
if(state_old STREQUAL state)
  return()
endif()

file(REMOVE_RECURSE "${SIGNED}")
file(MAKE_DIRECTORY "${SIGNED}")
set(programs "")
foreach(path IN LISTS staged)
  get_filename_component(name "${path}" NAME)
  file(COPY_FILE "${path}" "${SIGNED}/${name}")
  if(name MATCHES "\\.(EXE|OCX|DLL)$")
    list(APPEND programs "${SIGNED}/${name}")
  endif()
endforeach()
execute_process(COMMAND "${SIGN}" ${programs} RESULT_VARIABLE failed)
if(failed)
  file(REMOVE "${STAMP}")
  message(FATAL_ERROR "The programs that setup.exe carries could not be signed")
endif()
file(WRITE "${STAMP}" "${state}")
