# cmake --install: the host kit's layout and its CMake package.
#   bin/      Orvane.dll and orvctl
#   lib/      libOrvane.dll.a (MinGW) and Orvane.lib (MSVC); natively libOrvane.so with
#             the shared objects it links, which natively are the recording fakes of the
#             client libraries and the stand-ins of the Windows API (offline development)
#   include/  Orvane.h
#   lib/cmake/Orvane/  find_package(Orvane) gives the imported target Orvane::Orvane
include(CMakePackageConfigHelpers)

install(TARGETS orvane orvctl RUNTIME DESTINATION bin LIBRARY DESTINATION lib ARCHIVE DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/include/Orvane.h DESTINATION include)

if(WIN32)
  # Orvane.lib for MSVC hosts, made from the export definition by LLVM's dlltool: it writes
  # the short import format of the MSVC tools, which a 32-bit /SAFESEH link accepts (GNU
  # dlltool's import objects carry no SEH mark, so such a link refuses them). 32-bit hosts
  # call the decorated stdcall names (_ORV_Prepare@8); -k maps them to the plain exports.
  find_program(ORV_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 REQUIRED)
  file(READ ${PROJECT_SOURCE_DIR}/exports/Orvane.def def_text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX REPLACE "([A-Za-z_]+) = ([A-Za-z_]+@[0-9]+)" "\\2" def_text "${def_text}")
    set(dlltool_args -m i386 -k)
  else()
    string(REGEX REPLACE "([A-Za-z_]+) = ([A-Za-z_]+@[0-9]+)" "\\1" def_text "${def_text}")
    set(dlltool_args -m i386:x86-64)
  endif()
  set(msvc_def ${CMAKE_CURRENT_BINARY_DIR}/Orvane-msvc.def)
  file(WRITE ${msvc_def}.tmp "LIBRARY Orvane.dll\n${def_text}")
  configure_file(${msvc_def}.tmp ${msvc_def} COPYONLY)
  set(msvc_lib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/Orvane.lib)
  add_custom_command(OUTPUT ${msvc_lib}
    COMMAND ${ORV_LLVM_DLLTOOL} ${dlltool_args} -d ${msvc_def} -l ${msvc_lib}
    DEPENDS ${msvc_def}
    COMMENT "Import library for MSVC hosts: Orvane.lib")
  add_custom_target(orv_msvc_import_library ALL DEPENDS ${msvc_lib})
  install(FILES ${msvc_lib} DESTINATION lib)
  set(ORV_PACKAGE_LOCATION bin/Orvane.dll)
else()
  install(TARGETS orv_fake_clients orv_standins LIBRARY DESTINATION lib)
  set_target_properties(orvane orv_fake_clients orv_standins PROPERTIES INSTALL_RPATH "\$ORIGIN")
  set(ORV_PACKAGE_LOCATION lib/libOrvane.so)
endif()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/OrvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfig.cmake INSTALL_DESTINATION lib/cmake/Orvane)
# A 64-bit host never finds the 32-bit package, nor the other way round.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/OrvaneConfigVersion.cmake
        DESTINATION lib/cmake/Orvane)
