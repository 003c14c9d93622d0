cmake_minimum_required(VERSION 3.25)
# Installs the build in BUILD_DIR under WORK_DIR/prefix and builds HOST_DIR/host against
# it, as a host project would: find_package(Orvane) and Orvane::Orvane. Then runs it
# (through EMULATOR on Windows, with the client libraries of CLIENTS_DIR beside it).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nfailed (${result}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
set(host ${WORK_DIR}/host)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

if(TOOLCHAIN)
  # A cross toolchain confines find_package to its own root: name the package directly.
  set(where -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DOrvane_DIR=${prefix}/lib/cmake/Orvane)
else()
  set(where -DCMAKE_PREFIX_PATH=${prefix})
endif()
if(SANITIZE)
  # The library is C++: a C host links the C++ part of the sanitizer runtimes, and the C++
  # library that part needs.
  list(APPEND where -DCMAKE_C_COMPILER=${C_COMPILER} "-DCMAKE_C_FLAGS=-fsanitize=${SANITIZE}"
       "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=${SANITIZE} -fsanitize-link-c++-runtime -lstdc++")
endif()
run(${CMAKE_COMMAND} -S ${HOST_DIR}/host -B ${host} -DCMAKE_BUILD_TYPE=Release ${where})
run(${CMAKE_COMMAND} --build ${host})

if(CLIENTS_DIR)
  # Beside the program, as an application ships them: the installed Orvane.dll, and the
  # stand-in platform's client libraries.
  file(GLOB clients ${CLIENTS_DIR}/*Client.dll ${CLIENTS_DIR}/OrvPlatform.dll)
  file(COPY ${prefix}/bin/Orvane.dll ${clients} DESTINATION ${host})
endif()
run(${EMULATOR} ${host}/orvane_host${CMAKE_EXECUTABLE_SUFFIX_HOST})
message(STATUS "${output}")
if(NOT output MATCHES "host: ok")
  message(FATAL_ERROR "the host did not report success")
endif()

if(MSVC_TARGET)
  set(flags)
  if(MSVC_TARGET MATCHES "^i686")
    set(flags /safeseh) # what Visual Studio asks of every 32-bit image
  endif()
  run(${CLANG} --target=${MSVC_TARGET} -ffreestanding -O2 -I${prefix}/include
      -c ${HOST_DIR}/msvc-host.c -o ${host}/msvc-host.obj)
  run(${LLD_LINK} /nologo /entry:start /subsystem:console /nodefaultlib ${flags}
      ${host}/msvc-host.obj ${prefix}/lib/Orvane.lib /out:${host}/msvc-host.exe)
  execute_process(COMMAND ${EMULATOR} ${host}/msvc-host.exe RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the host linked with Orvane.lib failed at call ${result}")
  endif()
  message(STATUS "the host linked with Orvane.lib: ok")
endif()
