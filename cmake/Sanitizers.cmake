# Sanitizer builds. The asan, tsan and fuzz presets name this file as CMAKE_PROJECT_INCLUDE and
# set ORV_SANITIZE to a -fsanitize= list, so every target of the build, the product library
# and its stand-ins included, is instrumented alike. Any error ends the program at once.
set(ORV_SANITIZE "" CACHE STRING "Sanitizers for every target, as a -fsanitize= list")
if(ORV_SANITIZE)
  add_compile_options(-fsanitize=${ORV_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${ORV_SANITIZE})
  if(ORV_SANITIZE MATCHES "undefined")
    # The dynamic type check needs run-time type information, which the configuration
    # layer is built without; a caller compiled with it would link to a type_info that
    # does not exist.
    add_compile_options(-fno-sanitize=vptr)
  endif()
endif()
