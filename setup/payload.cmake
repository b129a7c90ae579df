# Build step of setup.exe (cmake -P): checks that every payload file named
# by the manifest exists, writes the data package from its member files,
# and copies each payload file into the stage folder under its resource
# name, where the resource script finds it. Files are copied, and the stamp
# rewritten, only when something changed, so that the resources are
# compiled again exactly then.
#   -DMANIFEST=<file>  lines "RESOURCE|path|what makes it"
#   -DPACKAGE=<file>   the package to write
#   -DMEMBERS=<a;b;..> the package's member files, in package order
#   -DSTAGE=<folder>
#   -DSTAMP=<file>
cmake_minimum_required(VERSION 3.20)

set(missing "")
foreach(member IN LISTS MEMBERS)
  if(NOT EXISTS "${member}")
    string(APPEND missing "\n  package member ${member}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "setup.exe cannot be built: payload files are missing:${missing}")
endif()

get_filename_component(here "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
execute_process(COMMAND sh "${here}/make_package.sh" "${PACKAGE}" ${MEMBERS} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "setup.exe cannot be built: the data package ${PACKAGE} could not be written")
endif()

file(STRINGS "${MANIFEST}" entries)
foreach(entry IN LISTS entries)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 path)
  list(GET fields 2 maker)
  if(path STREQUAL "" OR NOT EXISTS "${path}")
    string(APPEND missing "\n  ${name}: ${maker}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "setup.exe cannot be built: payload files are missing:${missing}")
endif()

# The stamp holds each file's digest; rewritten only when one changes.
file(MAKE_DIRECTORY "${STAGE}")
set(state "")
foreach(entry IN LISTS entries)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 path)
  file(COPY_FILE "${path}" "${STAGE}/${name}" ONLY_IF_DIFFERENT)
  file(MD5 "${path}" digest)
  string(APPEND state "${digest} ${name} ${path}\n")
endforeach()
set(state_old "")
if(EXISTS "${STAMP}")
  file(READ "${STAMP}" state_old)
endif()
if(NOT state_old STREQUAL state)
  file(WRITE "${STAMP}" "${state}")
endif()
